#include "platform_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vmtest {

namespace {

class PlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        platform::InitOptions o;
        o.headless = true;
        o.title = "Velmora tests";
        ASSERT_TRUE(platform::Init(o));
        ASSERT_TRUE(platform::OpenDisplay(64, 64, 0));
    }
    void TearDown() override { platform::Shutdown(); }
};

const auto* const env = ::testing::AddGlobalTestEnvironment(new PlatformEnvironment);

} // namespace

void FreshDisplay(int w, int h)
{
    if (platform::BackBufferWidth() != w || platform::BackBufferHeight() != h)
        platform::OpenDisplay(w, h, 0);
    platform::SetRasterising(true);
    platform::SetVirtualResolution(float(w), float(h), 0);
    platform::ResetDrawState();
    platform::SetClearColor(0, 0, 0);
    platform::Cls();
}

std::string ScratchDir(const std::string& name)
{
    // CTest runs the cases of one suite in parallel processes: each process
    // gets its own folder so that one case never clears another's files.
    const char* build = std::getenv("VELMORA_BUILD_DIR");
    std::filesystem::path dir = std::filesystem::path(build ? build : "/tmp") / "test_scratch" / "platform" /
                                (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

} // namespace vmtest
