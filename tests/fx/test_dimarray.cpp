// Reading arrays of TDim from block files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/platform/core/system.h"
#include "fx/records.h"

namespace {

std::string ScratchFile(const std::string& name, const std::string& text)
{
    const char* build = std::getenv("VELMORA_BUILD_DIR");
    const auto dir = std::filesystem::path(build ? build : "/tmp") / "test_scratch" / "fx";
    std::filesystem::create_directories(dir);
    const auto path = dir / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

TEST(DimArray, TopLevelEntriesInFileOrder)
{
    const std::string path = ScratchFile("sparks.txt", "spark = \"1,2,3,4\"\n"
                                                       "Block {\n"
                                                       "  inner = \"9,9\"\n"
                                                       "}\n"
                                                       "other = \"5,6,0,0,0,0,0,0,0.5\"\n"
                                                       "bare = 7\n");
    const std::vector<TDim> dims = LoadDimArray(path);
    ASSERT_EQ(dims.size(), 3u);
    EXPECT_EQ(dims[0].x, 1);
    EXPECT_EQ(dims[0].h, 4);
    EXPECT_EQ(dims[1].y, 6);
    EXPECT_EQ(dims[1].position, 0.5f);
    EXPECT_EQ(dims[2].x, 7); // an unquoted value stops at the first comma
    EXPECT_EQ(dims[2].y, 0);
}

TEST(DimArray, MissingFileShowsAMessageAndGivesNothing)
{
    std::vector<std::string> shown;
    platform::SetMessageBoxSink([&shown](const std::string& text, bool serious) {
        shown.push_back(text);
        EXPECT_FALSE(serious);
    });
    const std::vector<TDim> dims = LoadDimArray("no/such/sparks.txt");
    platform::SetMessageBoxSink(nullptr);
    EXPECT_TRUE(dims.empty());
    EXPECT_EQ(shown, (std::vector<std::string>{"ERROR: LoadDimArray 'no/such/sparks.txt' file not found!"}));
}

} // namespace
