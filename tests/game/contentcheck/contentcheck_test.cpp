// The content check: the shipped pack passes; broken copies of it and small
// broken files are reported with the file and the line of the fault.
#include "game/contentcheck/contentcheck.h"

#include "app/platform/image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace contentcheck;

namespace {

class TempDir {
public:
    TempDir()
    {
        static int n = 0;
        path_ = fs::temp_directory_path() /
                ("velmora-contentcheck-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string Str() const { return path_.generic_string() + "/"; }

private:
    fs::path path_;
};

void WriteFile(const std::string& path, const std::string& bytes)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Joined(const Context& ctx)
{
    std::string s;
    for (const Problem& p : ctx.Problems())
        s += FormatProblem(p) + "\n";
    return s;
}

} // namespace

TEST(ContentCheck, ShippedPackPasses)
{
    std::ostringstream out;
    EXPECT_EQ(RunContentCheck("Game/", out), 0) << out.str();
}

TEST(ContentCheck, MissingGameFolderFails)
{
    std::ostringstream out;
    EXPECT_EQ(RunContentCheck("no-such-folder-for-velmora/", out), 1);
    EXPECT_NE(out.str().find("no-such-folder-for-velmora/:0: the game folder does not exist"), std::string::npos);
}

// Broken copies of the real pack: each must fail and name the file and line.
struct PackFault {
    const char* name;
    std::function<void(const std::string& game)> breakIt;
    const char* expected; // appended to the copy's path
};

class BrokenPack : public ::testing::TestWithParam<PackFault> {};

TEST_P(BrokenPack, FailsNamingFileAndLine)
{
    TempDir tmp;
    const std::string game = tmp.Str() + "Game/";
    fs::copy("Game", game, fs::copy_options::recursive);
    {
        std::ostringstream out;
        ASSERT_EQ(RunContentCheck(game, out), 0) << "the unbroken copy must pass:\n" << out.str();
    }
    GetParam().breakIt(game);
    std::ostringstream out;
    EXPECT_EQ(RunContentCheck(game, out), 1) << out.str();
    EXPECT_NE(out.str().find(game + GetParam().expected), std::string::npos)
        << "expected: " << game + GetParam().expected << "\noutput:\n" << out.str();
}

const std::string kGuiFile = "Local/English/Data/MainMenu/Objects.txt";
const std::string kGui = "IMAGE {\n\tName = \"Icon\"\n\tUrl = \"[BDIR]gfx/icon.png\"\n\tXY = 10, 20\n}\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenPack,
    ::testing::Values(
        PackFault{"PictureRemovedFromGuiFile",
                  [](const std::string& g) {
                      WriteFile(g + kGuiFile, kGui);
                      fs::remove(g + "gfx/icon.png");
                  },
                  "Local/English/Data/MainMenu/Objects.txt:3: picture \""},
        PackFault{"PictureReadByCodeRemoved", [](const std::string& g) { fs::remove(g + "gfx/TransDark.png"); },
                  "gfx/TransDark.png:0: missing"},
        PackFault{"BlockLeftUnclosed",
                  [](const std::string& g) { WriteFile(g + kGuiFile, "OBJECT {\n\tXY = 1, 2\n" + kGui); },
                  "Local/English/Data/MainMenu/Objects.txt:1: block 'OBJECT' is never closed"},
        PackFault{"RequiredFileMissing", [](const std::string& g) { fs::remove(g + "Local/English/Txt/Pause.txt"); },
                  "Local/English/Txt/Pause.txt:0: the start-up file"},
        PackFault{"LanguageFolderMissing",
                  [](const std::string& g) { WriteFile(g + "Local.txt", "Klingon\n"); },
                  "Local.txt:1: the language folder"},
        PackFault{"SoundMissing",
                  [](const std::string& g) {
                      WriteFile(g + "sfx/Sounds.txt",
                                "Sound {\n\tid = 9\n\tUrl = \"[BDIR]sfx/Click.ogg\"\n}\n"
                                "Sound {\n\tid = 10\n\tUrl = \"[BDIR]sfx/Nothing.ogg\"\n}\n");
                  },
                  "sfx/Sounds.txt:7: sound \""},
        PackFault{"UnknownTuningVariable",
                  [](const std::string& g) {
                      WriteFile(g + "Data/GlobalVars.txt", "[Game]\nNoSuchVariableAnywhere = 3\n");
                  },
                  "Data/GlobalVars.txt:2: "}),
    [](const ::testing::TestParamInfo<PackFault>& p) { return std::string(p.param.name); });

TEST(ContentCheck, CaseOnlyMatchIsAWarningNotAFailure)
{
    TempDir tmp;
    const std::string game = tmp.Str() + "Game/";
    fs::copy("Game", game, fs::copy_options::recursive);
    WriteFile(game + kGuiFile, "IMAGE {\n\tUrl = \"[BDIR]GFX/Icon.PNG\"\n}\n");
    std::ostringstream out;
    EXPECT_EQ(RunContentCheck(game, out), 0) << out.str();
    EXPECT_NE(out.str().find("Objects.txt:2: warning: picture"), std::string::npos) << out.str();
}

// Single-file rules: each text is written to a file and checked alone.
struct FileCase {
    const char* name;
    const char* kind; // "text", "block" or "catalogue"
    std::string bytes;
    int line;             // expected line of the first problem; -1: no problem
    const char* message;  // part of the first problem's message
};

class FileRules : public ::testing::TestWithParam<FileCase> {};

TEST_P(FileRules, ReportsFirstProblemAtItsLine)
{
    const FileCase& c = GetParam();
    TempDir tmp;
    const std::string path = tmp.Str() + "file.txt";
    WriteFile(path, c.bytes);
    Context ctx(tmp.Str());
    const std::string kind = c.kind;
    if (kind == "text")
        CheckTextBytes(ctx, path, c.bytes);
    else if (kind == "block")
        CheckBlockFile(ctx, path);
    else
        CheckCatalogueFile(ctx, path);
    if (c.line < 0) {
        EXPECT_TRUE(ctx.Problems().empty()) << Joined(ctx);
        return;
    }
    ASSERT_FALSE(ctx.Problems().empty()) << c.name;
    const Problem& p = ctx.Problems().front();
    EXPECT_EQ(p.file, path);
    EXPECT_EQ(p.line, c.line) << Joined(ctx);
    EXPECT_NE(p.message.find(c.message), std::string::npos) << Joined(ctx);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileRules,
    ::testing::Values(
        FileCase{"AsciiLf", "text", "a\nb\n", -1, ""},
        FileCase{"CrLf", "text", "a\nb\r\nc\n", 2, "carriage return"},
        FileCase{"NoFinalLineFeed", "text", "a\nb", 2, "no line feed"},
        FileCase{"Latin1WithoutMark", "text", "a\ncaf\xE9\n", 2, "not ASCII"},
        FileCase{"Utf8WithMark", "text", "\xEF\xBB\xBF" "caf\xC3\xA9\n", -1, ""},
        FileCase{"GoodBlockFile", "block",
                 "Comment lines are fine\nSound {\n\tid = 9\n\tUrl = \"a b.ogg\", 2.5, TRUE, -3\n\tName = \"\"\n}\n",
                 -1, ""},
        FileCase{"NameOnLineBeforeBrace", "block", "Sound\n{\n\tid = 1\n}\n", 2, "same line"},
        FileCase{"UnquotedText", "block", "Sound {\n\tUrl = sfx/a.ogg\n}\n", 2, "double quotes"},
        FileCase{"UnclosedInnerBlock", "block", "a {\n\tB {\n\t\tx = 1\n}\n", 1, "'A' is never closed"},
        FileCase{"StrayClose", "block", "A {\n}\n}\nB {\n}\n", 3, "closes no block"},
        FileCase{"CommentWithEquals", "block", "note: width = 3\nA {\n}\n", 1, "comment"},
        FileCase{"ValueWithoutComma", "block", "A {\n\tx = 1 2\n}\n", 2, "without a comma"},
        FileCase{"ParserCommaBeforeValue", "block", "A {\n\tx = , 1\n}\n", 2, "Coma"},
        FileCase{"BlockMissingSound", "block", "Sound {\n\tid = 4\n\tUrl = \"[BDIR]sfx/none.ogg\"\n}\n", 3,
                 "sound \""},
        FileCase{"GoodCatalogue", "catalogue",
                 "level {\n\tdata {\n\t\tsize = 8, 9\n\t\tname = \"Bob\", \"Ann\"\n\t}\n}\n", -1, ""},
        FileCase{"CatalogueTextWithoutBlank", "catalogue", "a {\n\tname =\"Bob\"\n}\n", 2, "key = \"a\", \"b\""},
        FileCase{"CatalogueSecondTextWithoutBlank", "catalogue", "a {\n\tname = \"Bob\",\"Ann\"\n}\n", 2,
                 "'\"Ann\"'"},
        FileCase{"CatalogueMissingPicture", "catalogue", "chip {\n\tid = 1\n\tgfx = \"[BDIR]gfx/none.png\"\n}\n", 3,
                 "picture \""},
        FileCase{"CatalogueUnquotedText", "catalogue", "a {\n\tname = Bob\n}\n", 2, "key = \"a\", \"b\""},
        FileCase{"CatalogueUnbalanced", "catalogue", "a {\n\tb {\n\t\tx = 1\n}\n", 1, "never closed"},
        FileCase{"CatalogueStrayText", "catalogue", "a {\n\tsome words\n\tx = 1\n}\n", 2, "glues"},
        FileCase{"CatalogueEmptyNumberValue", "catalogue", "a {\n\tsize = 8, \n}\n", 0, "reader reports"},
        FileCase{"CatalogueNameOnOwnLine", "catalogue", "a\n{\n\tx = 1\n}\n", 1, "glues"}),
    [](const ::testing::TestParamInfo<FileCase>& p) { return std::string(p.param.name); });

TEST(ContentCheck, PureBlackPixelsAreReported)
{
    TempDir tmp;
    struct Px {
        uint8_t r, g, b, a;
        bool reported;
    };
    const Px cases[] = {
        {0, 0, 0, 255, true},  // opaque black: turns transparent under the default flags
        {0, 0, 0, 40, true},   // faint but visible black
        {0, 0, 0, 0, false},   // already transparent
        {1, 1, 1, 255, false}, // the darkest colour that stays visible
    };
    for (const Px& c : cases) {
        std::vector<uint8_t> rgba(4 * 4 * 4, 200);
        rgba[5 * 4 + 0] = c.r;
        rgba[5 * 4 + 1] = c.g;
        rgba[5 * 4 + 2] = c.b;
        rgba[5 * 4 + 3] = c.a;
        const std::string path = tmp.Str() + "p.png";
        ASSERT_TRUE(platform::WritePng(path, 4, 4, rgba));
        Context ctx(tmp.Str());
        CheckPictureFile(ctx, path);
        EXPECT_EQ(!ctx.Problems().empty(), c.reported) << int(c.r) << "," << int(c.a) << " " << Joined(ctx);
        if (c.reported) {
            EXPECT_NE(ctx.Problems().front().message.find("first at 1, 1"), std::string::npos) << Joined(ctx);
        }
    }
}

TEST(ContentCheck, UndecodablePictureIsReported)
{
    TempDir tmp;
    const std::string path = tmp.Str() + "broken.png";
    WriteFile(path, "not a picture");
    Context ctx(tmp.Str());
    CheckPictureFile(ctx, path);
    ASSERT_EQ(ctx.Problems().size(), 1u);
    EXPECT_NE(ctx.Problems()[0].message.find("cannot be decoded"), std::string::npos);
}
