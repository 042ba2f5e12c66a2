// The testers' command-line options of the level screen.
#include <gtest/gtest.h>

#include "game/cmdline.h"

using game::CmdAction;
using game::ParseCommandLine;

TEST(LevelOptions, ParsedAndRefused)
{
    struct Case {
        std::vector<std::string> args;
        bool ok;
        int stage, level;
        const char* error; // part of the message when refused
    } cases[] = {
        {{"--level", "1-1"}, true, 1, 1, nullptr},
        {{"--level=3-17"}, true, 3, 17, nullptr},
        {{"--level", "12-100"}, true, 12, 100, nullptr},
        {{"--level"}, false, 0, 0, "needs a value"},
        {{"--level", "1"}, false, 0, 0, "S-L"},
        {{"--level", "1-"}, false, 0, 0, "S-L"},
        {{"--level", "-1-2"}, false, 0, 0, "S-L"},
        {{"--level", "0-1"}, false, 0, 0, "S-L"},
        {{"--level", "1-0"}, false, 0, 0, "S-L"},
        {{"--level", "a-b"}, false, 0, 0, "S-L"},
        {{"--level", "1-2-3"}, false, 0, 0, "S-L"},
        {{"--autoplay=yes"}, false, 0, 0, "takes no value"},
        {{"--relaxed=1"}, false, 0, 0, "takes no value"},
    };
    for (const Case& c : cases) {
        const auto r = ParseCommandLine(c.args);
        const std::string what = c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : "");
        if (c.ok) {
            ASSERT_EQ(r.action, CmdAction::Run) << what << ": " << r.message;
            ASSERT_TRUE(r.options.level.has_value()) << what;
            EXPECT_EQ(r.options.level->first, c.stage) << what;
            EXPECT_EQ(r.options.level->second, c.level) << what;
        } else {
            EXPECT_EQ(r.action, CmdAction::Error) << what;
            EXPECT_NE(r.message.find(c.error), std::string::npos) << what << ": " << r.message;
        }
    }

    const auto all = ParseCommandLine(
        {"--headless", "--level", "2-5", "--relaxed", "--autoplay", "--exit-on-level-end", "--bench", "--seed", "4"});
    ASSERT_EQ(all.action, CmdAction::Run) << all.message;
    EXPECT_TRUE(all.options.relaxed);
    EXPECT_TRUE(all.options.autoplay);
    EXPECT_TRUE(all.options.exitOnLevelEnd);
    EXPECT_TRUE(all.options.bench);
    // Without the flags nothing of the level start is switched on.
    const auto none = ParseCommandLine({"--headless"});
    EXPECT_FALSE(none.options.level || none.options.relaxed || none.options.autoplay ||
                 none.options.exitOnLevelEnd || none.options.bench);
    EXPECT_NE(game::UsageText().find("--level S-L"), std::string::npos);
}
