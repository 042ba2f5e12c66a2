// Resource-catalogue files.
#include "datafiles/rcmfile.h"

#include "datafiles/test_support.h"

#include <gtest/gtest.h>

namespace {
TRCMFile FromText(const std::string& text, const std::string& name = "mem.rcm")
{
    TRCMFile f;
    f.LoadText(text, name);
    return f;
}
} // namespace

TEST(RcmFile, LevelFileInEveryLayout)
{
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"six lines", "level {\ndata {\nsize = 8, 9\n}\n}\n"},
        {"no final line feed", "level {\ndata {\nsize = 8, 9\n}\n}"},
        {"CR LF", "level {\r\ndata {\r\nsize = 8, 9\r\n}\r\n}\r\n"},
        {"entry before the closing brace", "level {\ndata {\nsize = 8, 9 }\n}\n"},
        {"last line without line end", "level {\ndata {\n}\n}\nlevel2 { }\nsize = 8, 9"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        auto f = FromText(c.text);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(f._grupa._id, "MAINGROUP");
        const std::string path = f.getString("size") == "" ? "level::data::size" : "size";
        EXPECT_EQ(f.getFloat(path, 1), 9.0f);
        EXPECT_EQ(f.getString(path, 1), " 9");
        EXPECT_EQ(f.getFloat("LEVEL::DATA::SIZE", 0), path == "size" ? 0.0f : 8.0f);
        EXPECT_TRUE(log.lines.empty());
    }
    TRCMFile lf, crlf;
    lf.Load("tests/fixtures/datafiles/level.rcm");
    crlf.Load("tests/fixtures/datafiles/level_crlf.rcm");
    for (const char* key : {"level::data::size", "level::speed"})
        EXPECT_EQ(lf.getFloat(key, 0), crlf.getFloat(key, 0)) << key;
    EXPECT_EQ(crlf.getString("level::data::name", 1), "Ann");
    EXPECT_EQ(crlf.getFloat("level::speed"), 2.5f);
}

TEST(RcmFile, EntriesAndGroups)
{
    auto f = FromText("chars {\n"
                      "\tname = \"Bob\", \"Ann\"\n"
                      "\tsub {\n\t\tx = 1\n\t}\n"
                      "\tafter = 2\n"
                      "\tneg = -3.5\n"
                      "\tweird = \"a, b\",\"c\"\n"
                      "}\n");
    const auto chars = f.getGroup({"chars"});
    ASSERT_TRUE(chars);
    auto name = chars->getEntry("NAME");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->_type, 0);
    EXPECT_EQ(name->_value, (std::vector<std::string>{"Bob", "Ann"}));
    // Entries after a sub-group keep clean keys.
    EXPECT_EQ(f.getFloat("chars::after"), 2.0f);
    EXPECT_EQ(f.getFloat("chars::neg"), -3.5f);
    EXPECT_EQ(chars->getEntry("neg")->_type, 1);
    EXPECT_EQ(f.getString("chars::weird", 0), "a, b");
    EXPECT_EQ(f.getString("chars::weird", 1), "c");
    EXPECT_EQ(f.getFloat("chars::sub::x"), 1.0f);
    ASSERT_EQ(chars->_listaGrup.size(), 1u);
    EXPECT_EQ(chars->_listaGrup[0]->_pos, 11); // "\n\t\tx = 1\n\t}"
    EXPECT_EQ(f.getString("chars::missing"), "");
    EXPECT_EQ(f.getString("nogroup::name"), "");
    EXPECT_EQ(f.getFloat("chars::sub::nothing::x"), 0.0f);

    // Lines without "=" are glued, without their line feeds, into what follows.
    auto glued = FromText("first\nsecond {\n x = 1\n}\n");
    EXPECT_EQ(glued.getFloat("firstsecond::x"), 1.0f);
}

TEST(RcmFile, MalformedValuesNeverReadOutside)
{
    struct Case {
        const char* what;
        std::string line;
        int index;
        std::string value;
        bool logged;
    } cases[] = {
        {"text shorter than its quotes", "k = \"", 0, "", true},
        {"bare quotes", "k = \"\"", 0, "", false},
        {"no blank before the quote", "k =\"abc\"", 0, "abc", false},
        {"unquoted text", "k = abc", 0, "abc", true},
        {"empty value", "k = ", 0, "", true},
        {"nothing after =", "k =", 0, "", true},
        {"empty number value", "k = 5, ", 1, "", true},
        {"index past the end", "k = 5", 3, "", true},
        {"negative index", "k = 5", -1, "", true},
        {"second = cuts the value", "k = 1 = 2", 0, " 1 ", false},
    };
    for (const auto& c : cases) {
        LogCapture log;
        auto f = FromText("g {\n" + c.line + "\n}\n", "Game/data/odd.rcm");
        EXPECT_EQ(f.getString("g::k", c.index), c.value) << c.what;
        if (c.logged) {
            ASSERT_FALSE(log.lines.empty()) << c.what;
            EXPECT_NE(log.lines[0].find("Napotkano problem : "), std::string::npos) << c.what;
            EXPECT_NE(log.lines[0].find("odd.rcm"), std::string::npos) << c.what;
            EXPECT_NE(log.lines[0].find("k"), std::string::npos) << c.what;
        } else {
            EXPECT_TRUE(log.lines.empty()) << c.what;
        }
    }
}

TEST(RcmFile, FailuresLeaveTheFileEmpty)
{
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"a {\nx = 1\n", "Blad nawiasow klamrowych! \"{\" - 1 \"}\" - 0"},
        {"a {\nx = 1\n}}\n", "Blad nawiasow klamrowych! \"{\" - 1 \"}\" - 2"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        auto f = FromText(c.text);
        EXPECT_TRUE(f._grupa._listaGrup.empty());
        EXPECT_EQ(f.getString("a::x"), "");
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines[0].rfind("Napotkano problem : " + c.message, 0), 0u) << log.lines[0];
    }
    // Braces between quotes are neither counted nor taken as group bounds.
    auto quoted = FromText("a {\nx = \"}\", \"{b}\"\n}\n");
    EXPECT_EQ(quoted._grupa._listaGrup.size(), 1u);
    EXPECT_EQ(quoted.getString("a::x", 0), "}");
    EXPECT_EQ(quoted.getString("a::x", 1), "{b}");

    LogCapture log;
    auto missing = LoadRCMFile("tests/fixtures/datafiles/none.rcm");
    EXPECT_EQ(missing->getFloat("a::x"), 0.0f);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], "Napotkano problem : Nie znaleziono pliku : tests/fixtures/datafiles/none.rcm");
}

TEST(RcmFile, DeepNestingIsCut)
{
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "g {\n";
    text += "x = 1\n";
    for (int i = 0; i < 50000; ++i)
        text += "}\n";
    text += "after {\ny = 2\n}\n";
    LogCapture log;
    auto f = FromText(text);
    EXPECT_TRUE(log.Contains("nested deeper"));
    EXPECT_EQ(f.getFloat("after::y"), 2.0f);
}

TEST(RcmFile, SetSaveAndReload)
{
    TempDir dir;
    TRCMFile f;
    f.setString("chars::bob::name", "Bob", 0);
    f.setString("chars::bob::name", "Robert", 2);
    f.setFloat("chars::bob::speed", 0.7f, 0);
    f.setFloat("chars::count", 3.0f, 0);
    f.setFloat("chars::count", 4.0f, 1);
    f.setString("ROOTKEY", "not written", 0);
    EXPECT_EQ(f.getString("chars::bob::name", 1), "");
    LogCapture log;
    ASSERT_TRUE(f.save(dir / "out.rcm", 0));
    EXPECT_EQ(ReadBytes(dir / "out.rcm"), "chars {\n"
                                          "\tcount = 3, 4\n"
                                          "\tbob {\n"
                                          "\t\tname = \"Bob\", \"\", \"Robert\"\n"
                                          "\t\tspeed = 0.699999988\n"
                                          "\t}\n"
                                          "\n"
                                          "}\n");
    auto back = LoadRCMFile(dir / "out.rcm");
    EXPECT_EQ(back->getString("chars::bob::name", 2), "Robert");
    EXPECT_EQ(back->getFloat("chars::bob::speed"), 0.7f);
    EXPECT_EQ(back->getFloat("chars::count", 1), 4.0f);
    EXPECT_EQ(back->getString("rootkey"), "");

    // A value that would not read back the same is refused, the old file kept.
    f.setString("chars::bob::name", "say \"hi\"", 0);
    EXPECT_FALSE(f.save(dir / "out.rcm", 0));
    EXPECT_EQ(back->getString("chars::bob::name", 0), "Bob");
    EXPECT_EQ(LoadRCMFile(dir / "out.rcm")->getString("chars::bob::name", 0), "Bob");
    // One byte per character refuses characters above 255.
    f.setString("chars::bob::name", "\xC4\xAC", 0);
    EXPECT_FALSE(f.save(dir / "narrow.rcm", 1));
    EXPECT_TRUE(f.save(dir / "wide.rcm", 0));
    EXPECT_EQ(LoadRCMFile(dir / "wide.rcm")->getString("chars::bob::name", 0), "\xC4\xAC");
}

TEST(RcmFile, ResourceQueueRunsInOrder)
{
    std::vector<std::string> done;
    QueueResourceLoad("a.png", -1, [&](const TProgramRes& r) { done.push_back(r.url); });
    QueueResourceLoad("b.png", 2, [&](const TProgramRes& r) { done.push_back(r.url + std::to_string(r.flags)); });
    EXPECT_EQ(QueuedResourceCount(), 2u);
    LogCapture log;
    LoadQueuedResources();
    EXPECT_EQ(done, (std::vector<std::string>{"a.png", "b.png2"}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{std::string(45, '='), "       RESOURCES: 2", std::string(45, '=')}));
    EXPECT_EQ(QueuedResourceCount(), 0u);
}
