// The input-script parser and player.
#include "app/inputscript.h"

#include <gtest/gtest.h>

namespace {

using app::ScriptAction;

TEST(InputScript, ParsesEveryEventKindInFrameOrder)
{
    const std::string text =
        "# a comment line\n"
        "\n"
        "30 close\n"
        "10 move 512.5 384   # pointer to the centre\n"
        "10 press\n"
        "11 release right\n"
        "12 click 100 200 middle\n"
        "20 key escape\n"
        "21 keydown LAlt\n"
        "21 key f4\n"
        "22 keyup ralt\n"
        "23 text Hello # not a comment\r\n"
        "24 focus lost\n"
        "25 focus gained\n"
        "26 screenshot shots/f26.png\n";
    const app::ScriptParseResult r = app::ParseInputScript(text, "s.txt");
    ASSERT_TRUE(r.errors.empty()) << r.errors.front();

    struct Expect {
        int64_t frame;
        ScriptAction action;
        int button;
        int key;
        std::string text;
    };
    const Expect expected[] = {
        {10, ScriptAction::MouseMove, 0, 0, ""},
        {10, ScriptAction::MouseDown, 1, 0, ""},
        {11, ScriptAction::MouseUp, 2, 0, ""},
        {12, ScriptAction::MouseMove, 0, 0, ""},
        {12, ScriptAction::MouseDown, 3, 0, ""},
        {13, ScriptAction::MouseUp, 3, 0, ""},
        {20, ScriptAction::KeyDown, 0, 27, ""},
        {20, ScriptAction::KeyUp, 0, 27, ""},
        {21, ScriptAction::KeyDown, 0, 164, ""},
        {21, ScriptAction::KeyDown, 0, 115, ""},
        {21, ScriptAction::KeyUp, 0, 115, ""},
        {22, ScriptAction::KeyUp, 0, 165, ""},
        {23, ScriptAction::Text, 0, 0, "Hello # not a comment"},
        {24, ScriptAction::FocusLost, 0, 0, ""},
        {25, ScriptAction::FocusGained, 0, 0, ""},
        {26, ScriptAction::Screenshot, 0, 0, "shots/f26.png"},
        {30, ScriptAction::Close, 0, 0, ""},
    };
    const auto& ev = r.script.events;
    ASSERT_EQ(ev.size(), std::size(expected));
    for (size_t i = 0; i < ev.size(); ++i) {
        SCOPED_TRACE("event " + std::to_string(i));
        EXPECT_EQ(ev[i].frame, expected[i].frame);
        EXPECT_EQ(ev[i].action, expected[i].action);
        EXPECT_EQ(ev[i].button, expected[i].button);
        EXPECT_EQ(ev[i].key, expected[i].key);
        EXPECT_EQ(ev[i].text, expected[i].text);
    }
    EXPECT_FLOAT_EQ(ev[0].x, 512.5f);
    EXPECT_FLOAT_EQ(ev[0].y, 384.0f);
    EXPECT_FLOAT_EQ(ev[3].x, 100.0f);
    EXPECT_EQ(r.script.LastFrame(), 30);
}

TEST(InputScript, ReportsBadLinesWithFileAndLineAndKeepsTheRest)
{
    struct Case {
        std::string line;
        std::string messagePart;
    };
    const Case cases[] = {
        {"x move 1 2", "frame number"},
        {"0 close", "frame number"},
        {"-4 close", "frame number"},
        {"5", "missing event"},
        {"5 jump", "unknown event 'jump'"},
        {"5 move 1", "2 argument(s)"},
        {"5 move a b", "two numbers"},
        {"5 press thumb", "unknown mouse button 'thumb'"},
        {"5 key hyper", "unknown key 'hyper'"},
        {"5 key", "1 argument(s)"},
        {"5 focus maybe", "'lost' or 'gained'"},
        {"5 close now", "0 argument(s)"},
        {"5 screenshot", "1 argument(s)"},
        {"5 text", "text needs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto r = app::ParseInputScript("1 close\n" + c.line + "\n", "bad.txt");
        ASSERT_EQ(r.errors.size(), 1u);
        EXPECT_EQ(r.errors[0].rfind("bad.txt:2: ", 0), 0u) << r.errors[0];
        EXPECT_NE(r.errors[0].find(c.messagePart), std::string::npos) << r.errors[0];
        EXPECT_EQ(r.script.events.size(), 1u);
    }
}

TEST(InputScript, KeyNames)
{
    const std::pair<const char*, int> cases[] = {
        {"a", 65},   {"Z", 90},       {"0", 48},     {"9", 57},      {"f1", 112}, {"F4", 115},
        {"f12", 123}, {"enter", 13},  {"escape", 27}, {"space", 32},  {"=", 187},  {"equals", 187},
        {"lalt", 164}, {"ralt", 165}, {"left", 37},  {"backspace", 8}, {"65", 65},
        {"f13", 0},  {"f", 70},        {"256", 0},    {"", 0},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(app::KeyCodeFromName(name), code) << name;
}

TEST(InputScript, PlayerHandsOutEachEventOnce)
{
    const auto r = app::ParseInputScript("2 close\n5 focus lost\n5 focus gained\n", "p.txt");
    app::ScriptPlayer player(r.script);
    EXPECT_TRUE(player.TakeUpTo(1).empty());
    EXPECT_EQ(player.TakeUpTo(3).size(), 1u);
    EXPECT_TRUE(player.TakeUpTo(3).empty());
    EXPECT_FALSE(player.Finished());
    const auto five = player.TakeUpTo(9); // a skipped frame still delivers its events
    ASSERT_EQ(five.size(), 2u);
    EXPECT_EQ(five[0].action, ScriptAction::FocusLost);
    EXPECT_TRUE(player.Finished());
}

} // namespace
