// The start-up sequence on small game folders: required files that cannot be
// read end the start cleanly with a message naming them; optional texts that
// are missing leave the game running.
#include "app/control.h"
#include "app/paths.h"
#include "app/platform/platform.h"
#include "game/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("velmora_startup_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "game");
        app::Control::Reset();
        platform::SetLogSink([this](const std::string& line) { console += line + "\n"; });
    }
    void TearDown() override
    {
        platform::SetLogSink(nullptr);
        app::Control::Reset();
        app::SetGameDir("Game/");
        fs::remove_all(dir);
    }

    void Write(const std::string& rel, const std::string& text)
    {
        const fs::path p = dir / "game" / rel;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }

    int Run()
    {
        game::CmdOptions o;
        o.headless = true;
        o.frames = 3;
        o.gameDir = (dir / "game").string();
        o.userDir = (dir / "user").string();
        game::StartupEnv env;
        env.messageBox = [this](const std::string& text) { boxes.push_back(text); };
        return game::RunGame(o, env);
    }

    fs::path dir;
    std::vector<std::string> boxes;
    std::string console;
};

TEST_F(StartupTest, RequiredFileThatCannotBeReadEndsWithStatusOneAndNamesIt)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string missing;
    };
    const Case cases[] = {
        {"no Local.txt", [] {}, "Local.txt"},
        {"no appname.txt", [this] { Write("Local.txt", "  English \r\n"); }, "local/English/appname.txt"},
        {"wrong language folder",
         [this] {
             Write("Local.txt", "Klingon\n");
             Write("Local/English/appname.txt", "Velmora\n");
         },
         "local/Klingon/appname.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir / "game");
        fs::create_directories(dir / "game");
        boxes.clear();
        c.prepare();
        EXPECT_EQ(Run(), 1);
        ASSERT_EQ(boxes.size(), 1u);
        const std::string expected = (dir / "game").string() + "/" + c.missing;
        EXPECT_NE(boxes[0].find(expected), std::string::npos) << boxes[0];
        EXPECT_NE(console.find(expected), std::string::npos) << "also on the console";
        EXPECT_FALSE(platform::IsInitialised()) << "the platform is shut down on the way out";
    }
}

TEST_F(StartupTest, MissingPauseAndLoadingTextsLeaveEmptyTextsAndRunOn)
{
    Write("Local.txt", "English\n");
    Write("Local/English/appname.txt", "Velmora Test\n");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(console.find("Txt/Pause.txt"), std::string::npos) << console;
    EXPECT_NE(console.find("Txt/LoadingText.txt"), std::string::npos) << console;
    EXPECT_EQ(app::Control::PauseText(), "");
    EXPECT_TRUE(fs::is_directory(dir / "user" / "Profiles"));
}

TEST_F(StartupTest, TextsAreReadFromTheLanguageFolderAndTrimmed)
{
    Write("Local.txt", "\xEF\xBB\xBF" "English\n"); // a byte-order mark is not part of the name
    Write("Local/English/appname.txt", "Velmora\n");
    Write("Local/English/Txt/Pause.txt", "\n  Paused  \n");
    Write("Local/English/Txt/LoadingText.txt", "Loading");
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(app::LanguageFolder(), "English");
    EXPECT_EQ(app::Control::PauseText(), "Paused");
    EXPECT_EQ(app::Control::LoadingText(), "Loading");

    std::string title, error;
    ASSERT_TRUE(game::ReadLanguageAndTitle(title, error)) << error;
    EXPECT_EQ(title, "Velmora") << "no line end in the window title";
}

} // namespace

namespace {

TEST(HeadlessClock, SixtyFramesAreExactlyOneSecond)
{
    int64_t shortest = 1000, longest = 0;
    for (int64_t f = 1; f <= 600; ++f) {
        const int64_t step = game::HeadlessClockAt(f) - game::HeadlessClockAt(f - 1);
        shortest = std::min(shortest, step);
        longest = std::max(longest, step);
    }
    EXPECT_EQ(shortest, 16);
    EXPECT_EQ(longest, 17);
    for (int64_t seconds : {1, 2, 10, 3600})
        EXPECT_EQ(game::HeadlessClockAt(60 * seconds) - game::HeadlessClockAt(0), 1000 * seconds);
}

} // namespace
