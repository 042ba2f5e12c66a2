// Line tokens, INI files and localised line files.
#include "datafiles/inifile.h"
#include "datafiles/linetokens.h"
#include "datafiles/txtfile.h"

#include "datafiles/test_support.h"

#include <gtest/gtest.h>

using Tokens = std::vector<std::string>;

TEST(LineTokens, SplittingRules)
{
    struct Case {
        std::string line;
        Tokens tokens;
    } cases[] = {
        {"ShowLeftChar 2", {"ShowLeftChar", "2"}},
        {"ShowLeftChar  2", {"ShowLeftChar", "", "2"}},
        {"ShowLeftChar 2\r", {"ShowLeftChar", "2"}},
        {"Say \"two words\" end", {"Say", "two words", "end"}},
        {"#Chapter 1", {"", "#", "Chapter", "1"}},
        {"key=value", {"key", "=", "value"}},
        {"a = b", {"a", "", "=", "", "b"}},
        {"\"x=y\"", {"x", "=", "y"}}, // "=" splits even between quotes
        {"trailing ", {"trailing"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        auto ttl = SplitLineTokens(c.line);
        EXPECT_EQ(ttl->Line, c.tokens) << c.line;
        EXPECT_EQ(ttl->First, c.tokens.empty() ? "" : c.tokens[0]) << c.line;
    }
}

TEST(LineTokens, Accessors)
{
    auto ttl = SplitLineTokens("Talk # Hello there  friend");
    EXPECT_EQ(ttl->GetSecondToken(), "");
    EXPECT_EQ(ttl->GetLast(), "friend");
    // Tokens: Talk, "", #, "", Hello, there, "", friend.
    EXPECT_EQ(ttl->Line.size(), 8u);
    EXPECT_EQ(ttl->GetAfterHash(), "#  Hello there  friend");
    EXPECT_EQ(ttl->GetRestLine(), "Talk  #  Hello there  friend");
    EXPECT_EQ(ttl->isEmpty(), 0);
    EXPECT_EQ(ttl->ToString(), "( Talk )Talk  #  Hello there  friend ");

    auto empty = SplitLineTokens("");
    EXPECT_EQ(empty->GetLast(), "");
    EXPECT_EQ(empty->GetSecondToken(), "");
    EXPECT_EQ(empty->isEmpty(), 1);
    EXPECT_EQ(empty->ToString(), "");
    EXPECT_EQ(SplitLineTokens("-- comment")->isEmpty(), 1);
    EXPECT_EQ(SplitLineTokens(" lead")->isEmpty(), 1); // first token is empty
}

TEST(IniFile, SectionsAndTriples)
{
    struct Param {
        std::string id, data;
    };
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> blocks;
    } cases[] = {
        {"section Main", "[Main]\nAutoProfileCreate = TRUE\n", {{"Main", {{"AUTOPROFILECREATE", "TRUE"}}}}},
        {"no blanks around =", "[Main]\nA=1\nb=two\n", {{"Main", {{"A", "1"}, {"B", "TWO"}}}}},
        {"CR LF and tabs", "[Main]\r\n\tA\t=\t1\r\n", {{"Main", {{"A", "1"}}}}},
        {"a line without = shifts the triples", "[M]\nA = 1\nStray\nB = 2\n", {{"M", {{"A", "1"}, {"STRAY", "="}}}}},
        {"words before the first section", "X = 1\n[S]\nA = 2\n", {{"S", {{"A", "2"}}}}},
        {"incomplete last triple", "[S]\nA = 1\nB =\n", {{"S", {{"A", "1"}}}}},
        {"two sections, an empty one", "[A]\n[B]\nx = y\n", {{"A", {}}, {"B", {{"X", "Y"}}}}},
        {"section without its closing bracket", "[Main\nA = 1\n", {{"Main", {{"A", "1"}}}}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) {
        auto blocks = ParseIniText(c.text);
        ASSERT_EQ(blocks.size(), c.blocks.size()) << c.what;
        for (size_t b = 0; b < blocks.size(); ++b) {
            EXPECT_EQ(blocks[b]->name, c.blocks[b].first) << c.what;
            ASSERT_EQ(blocks[b]->params.size(), c.blocks[b].second.size()) << c.what;
            for (size_t p = 0; p < blocks[b]->params.size(); ++p) {
                EXPECT_EQ(blocks[b]->params[p].id, c.blocks[b].second[p].first) << c.what;
                EXPECT_EQ(blocks[b]->params[p].data, c.blocks[b].second[p].second) << c.what;
            }
        }
    }
}

TEST(IniFile, ParametersAndFile)
{
    auto blocks = LoadIniFile("tests/fixtures/datafiles/vars.ini");
    ASSERT_EQ(blocks.size(), 2u);
    const auto& main = *blocks[0];
    EXPECT_EQ(main.params[0].GetBool(), 1);
    EXPECT_FLOAT_EQ(main.GetParamFloat("musicvolume"), 0.75f);
    EXPECT_EQ(blocks[1]->GetParamInt("level"), 31);
    EXPECT_EQ(main.GetParam("missing"), "");
    EXPECT_EQ(main.GetParamInt("missing"), 0);

    TIniBlock b;
    b.name = "Main";
    b.SetParam("Speed", "fast");
    b.SetParam("SPEED", "slow"); // replaces, ignoring case
    b.SetParamInt("Count", -3);
    b.SetParamFloat("Scale", 0.5f);
    EXPECT_EQ(b.ToString(), "[Main]\nSpeed = slow\nCount = -3\nScale = 0.500000000\n");
    EXPECT_EQ(b.params[1].GetInt(), -3);
    EXPECT_EQ(b.params[0].GetBool(), 0);

    LogCapture log;
    EXPECT_TRUE(LoadIniFile("tests/fixtures/datafiles/none.ini").empty());
    EXPECT_TRUE(log.Contains("none.ini"));
}

TEST(TxtFile, LineCounts)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"two lines ended by LF", "one\ntwo\n", {"one", "two"}},
        {"empty middle line", "A\n\nB", {"A", "", "B"}},
        {"empty", "", {}},
        {"only a line feed", "\n", {""}},
        {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
        {"CR LF, last line without line end", "one\r\ntwo\r", {"one", "two"}},
        {"lone CR kept", "a\rb\n", {"a\rb"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitTxtLines(c.text), c.lines) << c.what;
}

TEST(TxtFile, LinesByNumberAndFolders)
{
    TempDir dir;
    GamePaths::SetGameFolder(dir.str());
    GamePaths::SetLanguageFolder("English");
    EXPECT_EQ(GamePaths::GameFolder(), dir.str() + "/");
    EXPECT_EQ(GamePaths::LanguageRoot(), dir.str() + "/Local/English/");
    WriteBytes(dir / "Local/English/txt/Menu.txt", "Play\r\nOptions\r\n\r\nQuit\r\n");

    auto file = LoadTxtFile("[LANG]local/english/TXT/menu.txt");
    ASSERT_EQ(file->Lines(), 4);
    struct Case {
        int n;
        const char* text;
    } cases[] = {{1, "Play"}, {2, "Options"}, {3, ""}, {4, "Quit"}, {0, ""}, {5, ""}, {-1, ""}, {-2147483647 - 1, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(GetTxtLine(file, c.n), c.text) << c.n;
    EXPECT_EQ(GetTxtLine(PTxtFile(), 1), "");
    EXPECT_EQ(NewTxtFile()->Lines(), 0);

    EXPECT_EQ(ExpandPath("[LANG]Local/x.txt"), ExpandPath("[BDIR]Local/x.txt"));
    EXPECT_EQ(ExpandPath("[BDIR]a[LANG]b"), dir.str() + "/a" + dir.str() + "/b");
    EXPECT_EQ(ExpandBDir("[BDIR]gfx/[LANG]"), dir.str() + "/gfx/[LANG]");

    LogCapture log;
    EXPECT_EQ(LoadTxtFile("[BDIR]none.txt")->Lines(), 0);
    EXPECT_TRUE(log.Contains("none.txt"));
    GamePaths::SetGameFolder("Game");
    EXPECT_EQ(GamePaths::GameFolder(), "Game/");
    GamePaths::SetLanguageFolder("");
}
