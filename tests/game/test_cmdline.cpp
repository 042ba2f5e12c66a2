// The command-line parser, as a table of argument lists and their results.
#include "game/cmdline.h"

#include <gtest/gtest.h>

namespace {

using game::CmdAction;
using game::CmdOptions;

struct Case {
    std::vector<std::string> args;
    CmdAction action;
    std::function<void(const CmdOptions&)> check; // may be empty
    std::string messagePart;                      // for errors
};

TEST(CmdLine, Table)
{
    const Case cases[] = {
        {{}, CmdAction::Run,
         [](const CmdOptions& o) {
             EXPECT_FALSE(o.fullScreen.has_value());
             EXPECT_FALSE(o.headless);
             EXPECT_FALSE(o.frames.has_value());
             EXPECT_FALSE(o.seed.has_value());
             EXPECT_TRUE(o.gameDir.empty());
             EXPECT_FALSE(o.gallery);
         },
         ""},
        {{"--gallery"}, CmdAction::Run, [](const CmdOptions& o) { EXPECT_TRUE(o.gallery); }, ""},
        {{"--gallery=yes"}, CmdAction::Error, nullptr, "takes no value"},
        {{"--windowed"}, CmdAction::Run, [](const CmdOptions& o) { EXPECT_EQ(o.fullScreen, false); }, ""},
        {{"--fullscreen"}, CmdAction::Run, [](const CmdOptions& o) { EXPECT_EQ(o.fullScreen, true); }, ""},
        {{"--fullscreen", "--windowed"}, CmdAction::Run,
         [](const CmdOptions& o) { EXPECT_EQ(o.fullScreen, false); }, ""},
        {{"--headless", "--frames", "120", "--screenshot", "out.png", "--seed", "42", "--game-dir", "G",
          "--user-dir", "/tmp/u", "--input", "s.txt"},
         CmdAction::Run,
         [](const CmdOptions& o) {
             EXPECT_TRUE(o.headless);
             EXPECT_EQ(o.frames, 120);
             EXPECT_EQ(o.screenshot, "out.png");
             EXPECT_EQ(o.seed, 42u);
             EXPECT_EQ(o.gameDir, "G");
             EXPECT_EQ(o.userDir, "/tmp/u");
             EXPECT_EQ(o.inputScript, "s.txt");
         },
         ""},
        {{"--frames=5", "--seed=4294967295", "--game-dir=a=b"}, CmdAction::Run,
         [](const CmdOptions& o) {
             EXPECT_EQ(o.frames, 5);
             EXPECT_EQ(o.seed, 4294967295u);
             EXPECT_EQ(o.gameDir, "a=b");
         },
         ""},
        {{"--autoplay", "--autoplay-levels", "20"}, CmdAction::Run,
         [](const CmdOptions& o) {
             EXPECT_TRUE(o.autoplay);
             EXPECT_EQ(o.autoplayLevels, 20);
         },
         ""},
        {{"--autoplay-levels=0"}, CmdAction::Error, nullptr, "from 1 to 100000"},
        {{"--autoplay-levels", "x"}, CmdAction::Error, nullptr, "not 'x'"},
        {{"--autoplay-levels"}, CmdAction::Error, nullptr, "needs a value"},
        {{"--help"}, CmdAction::Help, nullptr, ""},
        {{"-h"}, CmdAction::Help, nullptr, ""},
        {{"--version"}, CmdAction::Version, nullptr, ""},
        {{"--version", "--help"}, CmdAction::Help, nullptr, ""},
        {{"--bogus"}, CmdAction::Error, nullptr, "unknown option '--bogus'"},
        {{"-x"}, CmdAction::Error, nullptr, "unknown option '-x'"},
        {{"level1"}, CmdAction::Error, nullptr, "unexpected argument 'level1'"},
        {{"--frames"}, CmdAction::Error, nullptr, "--frames needs a value"},
        {{"--frames", "0"}, CmdAction::Error, nullptr, "at least 1"},
        {{"--frames", "-3"}, CmdAction::Error, nullptr, "at least 1"},
        {{"--frames", "12x"}, CmdAction::Error, nullptr, "'12x'"},
        {{"--seed", "-1"}, CmdAction::Error, nullptr, "--seed"},
        {{"--seed", "4294967296"}, CmdAction::Error, nullptr, "--seed"},
        {{"--game-dir"}, CmdAction::Error, nullptr, "--game-dir needs a value"},
        {{"--user-dir="}, CmdAction::Error, nullptr, "non-empty"},
        {{"--headless=1"}, CmdAction::Error, nullptr, "takes no value"},
        {{"--help", "--bogus"}, CmdAction::Error, nullptr, "--bogus"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.args)
            joined += a + " ";
        SCOPED_TRACE("args: " + joined);
        const game::CmdLineResult r = game::ParseCommandLine(c.args);
        ASSERT_EQ(r.action, c.action) << r.message;
        if (c.check)
            c.check(r.options);
        if (!c.messagePart.empty()) {
            EXPECT_NE(r.message.find(c.messagePart), std::string::npos) << r.message;
        }
    }
}

TEST(CmdLine, UsageNamesEveryOption)
{
    const std::string usage = game::UsageText();
    for (const char* opt : {"--windowed", "--fullscreen", "--game-dir", "--user-dir", "--seed", "--help",
                            "--version", "--headless", "--frames", "--screenshot", "--input", "--gallery"})
        EXPECT_NE(usage.find(opt), std::string::npos) << opt;
}

} // namespace
