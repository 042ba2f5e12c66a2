// Block files: tokenizer, parser, lookups, setters and the writer.
#include "datafiles/blockfile.h"

#include "app/platform/core/files.h"
#include "datafiles/test_support.h"

#include <gtest/gtest.h>

namespace {

std::string Utf16Le(const std::string& ascii)
{
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

} // namespace

TEST(BlockFile, ChipsFileReadsTheSameWhateverItsLayout)
{
    // The first character is an ordinary one, CR LF reads like LF, and a value
    // on a last line without a line feed is kept.
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"LF", "Chips {\nCount = 5\n}\n"},
        {"CR LF", "Chips {\r\nCount = 5\r\n}\r\n"},
        {"leading blank line", "\nChips {\nCount = 5\n}\n"},
        {"leading space", " Chips {\n\tCount = 5\n}"},
        {"leading quote line", "\"note\"\nChips {\nCount = 5\n}\n"},
        {"leading brace", "{\nChips {\nCount = 5\n}\n"},
        {"one line", "Chips { Count = 5 }"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        auto root = ParseBlockText(c.text, "data/chips.txt");
        SCOPED_TRACE(c.what);
        EXPECT_EQ(root->name, "DATA/CHIPS.TXT");
        auto blocks = GetAllSubBlocks(*root);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0]->name, "CHIPS");
        ASSERT_EQ(blocks[0]->SubFiles.size(), 1u);
        const auto& count = blocks[0]->SubFiles[0];
        EXPECT_EQ(count->MyType, 1);
        EXPECT_EQ(count->name, "count");
        EXPECT_EQ(count->Value, std::vector<std::string>{"5"});
        EXPECT_EQ(count->typ, std::vector<int>{BV_INT});
        EXPECT_EQ(GetBlockInt(root, "chips::count", 0), 5);
        EXPECT_EQ(GetBlockInt(root, "CHIPS :: COUNT", 0), 5);
        EXPECT_EQ(GetBlockInt(root, "chips::missing", 0), 0);
        EXPECT_TRUE(log.lines.empty());
    }
}

TEST(BlockFile, LoadsFilesInEveryEncoding)
{
    TempDir dir;
    WriteBytes(dir / "utf16.txt", Utf16Le("Chips {\r\n Count = 5\r\n}\r\n"));
    WriteBytes(dir / "utf8.txt", "\xEF\xBB\xBF" "Chips {\n Name = \"\xC3\xA9t\xC3\xA9\"\n}\n");
    EXPECT_EQ(GetBlockInt(LoadBlockFile(dir / "UTF16.TXT"), "chips::count"), 5);
    EXPECT_EQ(GetBlockString(LoadBlockFile(dir / "utf8.txt"), "chips::name"), "\xC3\xA9t\xC3\xA9");

    auto crlf = LoadBlockFile("tests/fixtures/datafiles/chips_crlf.txt");
    EXPECT_EQ(GetBlockString(crlf, "chips::name"), "red chip");
    EXPECT_EQ(GetBlockInt(crlf, "chips::count"), 5);

    LogCapture log;
    auto missing = LoadBlockFile(dir / "missing.txt");
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->SubFiles.empty());
    EXPECT_TRUE(log.Contains("missing.txt"));
}

TEST(BlockFile, TypedEntryWritesBackInItsOwnForms)
{
    auto root = ParseBlockText("Blk {\n\ta = 1, 2.5, \"x y\", TRUE\n}\n", "x");
    auto a = FindBlock(root, "blk::a");
    EXPECT_EQ(a->Value, (std::vector<std::string>{"1", "2.5", "x y", "TRUE"}));
    EXPECT_EQ(a->typ, (std::vector<int>{BV_INT, BV_FLOAT, BV_TEXT, BV_BOOL}));
    EXPECT_EQ(BlockFileText(*root), "BLK{\n\ta = 1, 2.50000000, \"x y\", TRUE\n}\n");
}

TEST(BlockFile, NumbersBeyondTheirRangeStayTextAndWriteBackUnchanged)
{
    // An integer that does not fit 32 bits, or a float beyond single
    // precision, is kept as the text it was: written back in quotes, the same
    // digits, and read again the same way.
    struct Case {
        std::string value;
        int type;
        std::string written;
    } cases[] = {
        {"2147483647", BV_INT, "2147483647"},
        {"-2147483648", BV_INT, "-2147483648"},
        {"2147483648", BV_TEXT, "\"2147483648\""},
        {"-2147483649", BV_TEXT, "\"-2147483649\""},
        {"4294967296", BV_TEXT, "\"4294967296\""},
        {"123456789012345678901234567890", BV_TEXT, "\"123456789012345678901234567890\""},
        {"1" + std::string(40, '0') + ".5", BV_TEXT, "\"1" + std::string(40, '0') + ".5\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        auto root = ParseBlockText("Blk {\n\ta = " + c.value + "\n}\n", "x");
        auto a = FindBlock(root, "blk::a");
        EXPECT_EQ(a->Value, std::vector<std::string>{c.value});
        EXPECT_EQ(a->typ, std::vector<int>{c.type});
        const std::string text = BlockFileText(*root);
        EXPECT_EQ(text, "BLK{\n\ta = " + c.written + "\n}\n");
        auto again = FindBlock(ParseBlockText(text, "x"), "blk::a");
        EXPECT_EQ(again->Value, a->Value);
        EXPECT_EQ(again->typ, a->typ);
    }
}

TEST(BlockFile, EntryShapes)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> values; // of entry "a" under the root
    } cases[] = {
        {"second word without comma", "a = 1 2\n", {"1"}},
        {"quoted words keep blanks", "a = \" x , y \"\n", {" x , y "}},
        {"empty quoted value", "a = \"\", 3\n", {"", "3"}},
        {"empty quoted value alone", "a = \"\"\n", {""}},
        {"doubled quote inside quotes", "a = \"say \"\"hi\"\"\"\n", {"say \"hi\""}},
        {"semicolon ends the entry", "a = 1; 2\n", {"1"}},
        {"unmatched quote stops at the line end", "a = \"open\nb = 2\n", {"open"}},
        {"last line without line feed", "a = 7", {"7"}},
        {"CR LF value", "a = word\r\n", {"word"}},
        {"lone CR stays", "a = \"x\ry\"\n", {"x\ry"}},
    };
    for (const auto& c : cases) {
        LogCapture log;
        auto root = ParseBlockText(c.text, "x");
        EXPECT_EQ(FindBlock(root, "a")->Value, c.values) << c.what;
    }
    // Words without "=" are comments; a key and its "=" share a line.
    auto root = ParseBlockText("just two words\nb\n= 3\nc = 4\n", "x");
    EXPECT_FALSE(BlockExists(root, "just"));
    EXPECT_FALSE(BlockExists(root, "b"));
    EXPECT_EQ(GetBlockInt(root, "c"), 4);
}

TEST(BlockFile, BlockStructure)
{
    // A name on the line before its brace: the line end becomes the name.
    auto root = ParseBlockText("Chips\n{\ncount = 5\n}\n", "x");
    auto blocks = GetAllSubBlocks(*root);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0]->name, "\n");
    EXPECT_FALSE(BlockExists(root, "chips"));

    // A stray "}" ends the root early; an unclosed block takes the rest.
    root = ParseBlockText("a = 1\n}\nb = 2\n", "x");
    EXPECT_TRUE(BlockExists(root, "a"));
    EXPECT_FALSE(BlockExists(root, "b"));
    root = ParseBlockText("Outer {\nInner {\nv = 1\n", "x");
    EXPECT_EQ(GetBlockInt(root, "outer::inner::v"), 1);

    // Children keep file order, blocks and entries mixed; lookups find the first.
    root = ParseBlockText("L { x = 1\n Item { v = 1 }\n x = 2\n Item { v = 2 }\n Other { }\n}", "x");
    auto l = FindBlock(root, "l");
    EXPECT_EQ(GetSubBlocks(*l, "item").size(), 2u);
    EXPECT_EQ(GetAllSubBlocks(*l).size(), 3u);
    EXPECT_EQ(GetEntries(*l, "X").size(), 2u);
    EXPECT_EQ(GetEntries(*l, "").size(), 2u);
    EXPECT_EQ(GetBlockInt(root, "l::item::v"), 1);
    EXPECT_EQ(GetBlockInt(root, "l::x"), 1);
}

TEST(BlockFile, ParseErrorsAreReportedWithLineAndColumn)
{
    struct Case {
        std::string text;
        std::string line;
        std::vector<std::string> values;
    } cases[] = {
        {"B {\na = , 1\n}\n", "ERROR (Line 2 Char 5): Coma (',') before data entry!", {}},
        {"a = 1 = 2\n", "ERROR (Line 1 Char 7): Character '=' found again in the same entry!", {"1"}},
        {"a = 1,, 2\n", "ERROR (Line 1 Char 7): Coma (',') before data entry!", {"1"}},
        {"x = = 2\n", "ERROR (Line 1 Char 5): Character '=' found again in the same entry!", {}},
    };
    for (const auto& c : cases) {
        LogCapture log;
        auto root = ParseBlockText(c.text, "Game/data/bad.txt");
        ASSERT_EQ(log.lines.size(), 2u) << c.text;
        EXPECT_EQ(log.lines[0], "Errors in block file: Game/data/bad.txt");
        EXPECT_EQ(log.lines[1], c.line);
        auto entries = GetEntries(*root, "");
        auto b = FindBlockOrNull(root, "b");
        if (b)
            entries = GetEntries(*b, "");
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0]->Value, c.values) << c.text;
        if (c.values.empty()) {
            EXPECT_EQ(entries[0]->ToString2(""), ""); // an entry without values is not written
        }
    }
}

TEST(BlockFile, DeepNestingIsCutWithAnError)
{
    const int depth = 20000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "b{";
    text += "v = 1";
    for (int i = 0; i < depth; ++i)
        text += "}";
    text += "\nafter = 2\n";
    LogCapture log;
    auto root = ParseBlockText(text, "deep");
    EXPECT_TRUE(log.Contains("nested too deeply"));
    EXPECT_EQ(GetBlockInt(root, "after"), 2); // parsing goes on after the cut block
    std::string path = "b";
    for (int i = 1; i < TBlockParser::kMaxDepth; ++i)
        path += "::b";
    EXPECT_TRUE(BlockExists(root, path));
    EXPECT_FALSE(BlockExists(root, path + "::b"));
}

TEST(BlockFile, LookupsGiveDefaults)
{
    auto root = ParseBlockText("S { v = 3, \" true \", FALSE, 12abc, -4 }", "x");
    auto v = FindBlock(root, "s::v");
    EXPECT_EQ(v->GetSize(), 5);
    EXPECT_EQ(v->isIndex(4), 1);
    EXPECT_EQ(v->isIndex(5), 0);
    EXPECT_EQ(v->isIndex(-1), 0);
    EXPECT_EQ(v->GetString(9), "");
    EXPECT_EQ(v->GetString(-1), "");
    EXPECT_EQ(v->GetInt(9), 0);
    EXPECT_EQ(v->GetFloat(9), 0.0f);
    EXPECT_EQ(v->GetBool(0), 3);
    EXPECT_EQ(v->GetBool(1), 1);
    EXPECT_EQ(v->GetBool(2), 0);
    EXPECT_EQ(v->GetBool(3), 12);
    EXPECT_EQ(v->GetBool(9), 0);
    EXPECT_EQ(GetBlockFloat(root, "s::v", 4), -4.0f);

    EXPECT_EQ(GetBlockString(root, "nothing::here"), "");
    EXPECT_EQ(GetBlockString(nullptr, "s::v"), "");
    auto fresh = FindBlock(root, "s::none");
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(fresh->SubFiles.empty());
    EXPECT_EQ(FindBlockOrNull(root, "s::none"), nullptr);
    EXPECT_EQ(BlockExists(root, "S::V"), 1);
    // A single colon inside a step is dropped; "::" separates steps.
    auto colon = ParseBlockText("AB { CD = 1 }", "x");
    EXPECT_EQ(GetBlockInt(colon, "a:b::c:d"), 1);
    EXPECT_EQ(GetBlockInt(colon, "ab::"), 0);
    EXPECT_EQ(BlockExists(colon, "ab::"), 1);
}

TEST(BlockFile, SettersAndNewNodes)
{
    auto root = NewBlock("Game/profile.txt");
    auto p = NewBlock("Profile", root);
    EXPECT_EQ(root->SubFiles.size(), 1u);
    SetBlockFloat(*p, "volume", 0.7f);
    SetBlockFloat(*p, "volume", 1.0f, 2); // grows, slot 1 empty text
    SetBlockInt(*p, "level", 12);
    SetBlockString(*p, "name", "Ann");
    SetBlockString(*p, "name", "Bob", 0, 1); // forced second entry
    auto e = AddBlockEntry(p, "flags");
    e->AddEntry("TRUE", 0, BV_BOOL);
    e->AddEntry("not sure", 1, BV_BOOL); // not one word: quoted, so it reads back whole

    auto volume = FindBlock(root, "profile::volume");
    EXPECT_EQ(volume->Value, (std::vector<std::string>{"0.699999988", "", "1.00000000"}));
    EXPECT_EQ(volume->typ, (std::vector<int>{BV_FLOAT, BV_TEXT, BV_FLOAT}));
    EXPECT_EQ(GetBlockInt(root, "profile::level"), 12);
    EXPECT_EQ(GetEntries(*p, "name").size(), 2u);
    EXPECT_EQ(BlockFileText(*root), "Profile{\n"
                                    "\tvolume = 0.699999988, \"\", 1.00000000\n"
                                    "\tlevel = 12\n"
                                    "\tname = \"Ann\"\n"
                                    "\tname = \"Bob\"\n"
                                    "\tflags = TRUE, \"not sure\"\n"
                                    "}\n");
    // A block turned into an entry by a setter.
    SetBlockInt(*root, "profile", 3);
    EXPECT_EQ(p->MyType, 1);
}

TEST(BlockFile, SaveAndLoadRoundTripKeepsEveryValue)
{
    TempDir dir;
    const std::vector<std::string> values = {
        "plain", " padded ", "", "say \"hi\"", "\"", "a, b = {c}; \\d", "1.2.3", "-", "12345678901", "1 2",
        "7", "-3", "0.5", "TRUE", "caf\xC3\xA9", "\xC4\xAC\xE2\x82\xAC", "tab\there", "x\ry"};
    auto root = NewBlock(dir / "save.txt");
    auto b = NewBlock("Data", root);
    for (size_t i = 0; i < values.size(); ++i)
        SetBlockString(*b, "v", values[i], static_cast<int>(i));
    SetBlockInt(*b, "n", -42);
    SetBlockFloat(*b, "f", 1e10f, 0); // written in exponent form
    SetBlockFloat(*b, "f", -0.0001f, 1);
    ASSERT_TRUE(SaveBlockFile(root));
    const std::string bytes = ReadBytes(dir / "save.txt");
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE"); // a character above 255 is present

    auto loaded = LoadBlockFile(dir / "save.txt");
    EXPECT_EQ(FindBlock(loaded, "data::v")->Value, values);
    EXPECT_EQ(GetBlockInt(loaded, "data::n"), -42);
    EXPECT_EQ(GetBlockFloat(loaded, "data::f", 0), 1e10f);
    EXPECT_EQ(GetBlockFloat(loaded, "data::f", 1), -0.0001f);

    // Text of single-byte characters stays one byte per character.
    auto narrow = NewBlock(dir / "narrow.txt");
    SetBlockString(*NewBlock("D", narrow), "k", "caf\xC3\xA9");
    ASSERT_TRUE(SaveBlockFile(narrow));
    EXPECT_EQ(ReadBytes(dir / "narrow.txt"), "D{\n\tk = \"caf\xE9\"\n}\n");
}

TEST(BlockFile, UnsavableTreeOrTargetLeavesTheOldFile)
{
    TempDir dir;
    WriteBytes(dir / "keep.txt", "old");
    auto root = NewBlock(dir / "keep.txt");
    SetBlockString(*NewBlock("D", root), "k", "two\nlines");
    LogCapture log;
    EXPECT_FALSE(SaveBlockFile(root));
    EXPECT_TRUE(log.Contains("line break"));
    EXPECT_EQ(ReadBytes(dir / "keep.txt"), "old");

    auto elsewhere = NewBlock(dir / "no/such/folder.txt");
    SetBlockInt(*NewBlock("D", elsewhere), "k", 1);
    EXPECT_FALSE(SaveBlockFile(elsewhere));
}
