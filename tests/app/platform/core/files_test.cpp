// File services: case-insensitive paths, text decoding and the save rules.
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (fs::temp_directory_path() / "vm_files_XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        path_ = ::mkdtemp(buf.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }
    const std::string& str() const { return path_; }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Collects log lines for the duration of a test.
struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() { SetLogSink([this](const std::string& l) { lines.push_back(l); }); }
    ~LogCapture() { SetLogSink({}); }
};

} // namespace

TEST(DecodeText, ByteOrderMarksAndSingleBytes)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"UTF-16 LE", std::string("\xFF\xFE" "A\0B\0", 6), "AB"},
        {"UTF-16 BE", std::string("\xFE\xFF\0A\0B", 6), "AB"},
        {"UTF-16 LE non-Latin", std::string("\xFF\xFE\x2C\x01", 4), "\xC4\xAC"},
        {"UTF-16 LE surrogate pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},
        {"UTF-16 BE surrogate pair", std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), "\xF0\x9F\x98\x80"},
        {"UTF-16 lone high half", std::string("\xFF\xFE\x3D\xD8" "A\0", 6), "\xEF\xBF\xBD" "A"},
        {"UTF-16 lone low half", std::string("\xFF\xFE\x00\xDE", 4), "\xEF\xBF\xBD"},
        {"UTF-16 odd last byte", std::string("\xFF\xFE" "A\0B", 5), "A"},
        {"UTF-8 mark", "\xEF\xBB\xBF" "A\xC3\xA9", "A\xC3\xA9"},
        {"UTF-8 mark, invalid byte kept as Latin-1", "\xEF\xBB\xBF\xE9", "\xC3\xA9"},
        {"one byte per character", "A\xE9", "A\xC3\xA9"},
        {"plain ASCII with CR LF", "a\r\nb", "a\r\nb"},
        {"empty", "", ""},
        {"a lone FF is Latin-1", "\xFF", "\xC3\xBF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeText(c.bytes), c.utf8) << c.what;
}

TEST(Utf8, InvalidBytesReadAsLatin1AndRoundTrip)
{
    EXPECT_EQ(Utf8ToU32("a\xC3\xA9"), (std::u32string{U'a', 0xE9}));
    EXPECT_EQ(Utf8ToU32("\xE9z"), (std::u32string{0xE9, U'z'}));         // stray lead byte
    EXPECT_EQ(Utf8ToU32("\xC0\x80"), (std::u32string{0xC0, 0x80}));      // overlong form
    EXPECT_EQ(Utf8ToU32("\xED\xA0\x80"), (std::u32string{0xED, 0xA0, 0x80})); // encoded surrogate
    EXPECT_EQ(Utf8ToU32("\xE2\x82"), (std::u32string{0xE2, 0x82}));      // cut short
    const std::u32string all{0x41, 0xE9, 0x12C, 0x20AC, 0x1F600, 0x10FFFF};
    EXPECT_EQ(Utf8ToU32(U32ToUtf8(all)), all);
    std::string s;
    AppendUtf8(s, 0x110000);
    AppendUtf8(s, 0xD800);
    EXPECT_EQ(s, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Files, ReadTextFileDecodesAndMissingFileThrows)
{
    TempDir dir;
    WriteBytes(dir / "le.txt", std::string("\xFF\xFE" "A\0B\0", 6));
    WriteBytes(dir / "latin.txt", "A\xE9");
    EXPECT_EQ(ReadTextFile(dir / "le.txt"), "AB");
    EXPECT_EQ(ReadTextFile(dir / "latin.txt"), "A\xC3\xA9");
    EXPECT_THROW(ReadTextFile(dir / "missing.txt"), FileError);
    EXPECT_FALSE(TryReadTextFile(dir / "missing.txt").has_value());
    EXPECT_FALSE(TryReadTextFile(dir.str()).has_value()); // a folder is not a text file

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadBinaryFile(dir / "latin.txt", bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x41, 0xE9}));
    EXPECT_FALSE(ReadBinaryFile(dir / "missing.txt", bytes));
}

TEST(Files, SaveRulesChooseTheEncoding)
{
    TempDir dir;
    struct Case {
        const char* what;
        std::string text;
        std::string bytes;
    } cases[] = {
        {"ASCII", "AB", "AB"},
        {"character 300", "A\xC4\xAC", std::string("\xFF\xFE" "A\0\x2C\x01", 6)},
        {"Latin-1 stays one byte", "A\xC3\xA9", "A\xE9"},
        {"beyond the BMP uses a surrogate pair", "\xF0\x9F\x98\x80", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        const std::string path = dir / "out.txt";
        ASSERT_TRUE(SaveText(c.text, path)) << c.what;
        EXPECT_EQ(ReadBytes(path), c.bytes) << c.what;
        EXPECT_EQ(ReadTextFile(path), c.text) << c.what << " reads back";
    }

    LogCapture log;
    ASSERT_TRUE(SaveString("A\xC3\xA9", dir / "narrow.txt"));
    EXPECT_EQ(ReadBytes(dir / "narrow.txt"), "A\xE9");
    EXPECT_FALSE(SaveString("A\xC4\xAC", dir / "narrow.txt")); // refused, old file kept
    EXPECT_EQ(ReadBytes(dir / "narrow.txt"), "A\xE9");
    EXPECT_EQ(log.lines.size(), 1u);
}

TEST(Files, FailedSaveKeepsTheOldFileAndLeavesNoTemporary)
{
    TempDir dir;
    LogCapture log;

    // A missing folder: nothing to write into.
    EXPECT_FALSE(SaveText("x", dir / "nowhere/out.txt"));
    EXPECT_EQ(FileType(dir / "nowhere"), 0);

    // A folder stands where the file should go.
    ASSERT_TRUE(CreateFolder(dir / "taken"));
    EXPECT_FALSE(SaveText("x", dir / "taken"));
    EXPECT_EQ(FileType(dir / "taken"), 2);

    // The write itself fails half-way (file-size limit): the old content survives.
    const std::string target = dir / "keep.txt";
    WriteBytes(target, "old content");
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveText(std::string(1000, 'n'), target);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(target), "old content");

    // A read-only folder refuses the temporary file (root ignores the bits).
    if (geteuid() != 0) {
        WriteBytes(dir / "ro.txt", "old");
        fs::permissions(dir.str(), fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(SaveText("new", dir / "ro.txt"));
        fs::permissions(dir.str(), fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(ReadBytes(dir / "ro.txt"), "old");
    }

    EXPECT_GE(log.lines.size(), 3u);
    for (const auto& line : log.lines)
        EXPECT_NE(line.find("Cannot save file"), std::string::npos) << line;
    for (const auto& entry : fs::directory_iterator(dir.str()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
            << "temporary left behind: " << entry.path();
}

TEST(Files, SaveReplacesAnExistingFileInAnotherCase)
{
    TempDir dir;
    WriteBytes(dir / "Profile.TXT", "old");
    ASSERT_TRUE(SaveText("new", dir / "profile.txt"));
    EXPECT_EQ(ReadBytes(dir / "Profile.TXT"), "new");
    EXPECT_FALSE(fs::exists(dir / "profile.txt"));
}

TEST(ResolvePath, FindsFilesAndFoldersIgnoringCase)
{
    TempDir dir;
    fs::create_directories(dir / "Game/Data/Level1");
    WriteBytes(dir / "Game/Data/Level1/Chips.txt", "x");
    WriteBytes(dir / "Game/Data/both.txt", "lower");
    WriteBytes(dir / "Game/Data/BOTH.txt", "upper");

    struct Case {
        std::string asked;
        std::string expected;
        bool mismatch;
    } cases[] = {
        {dir / "Game/Data/Level1/Chips.txt", dir / "Game/Data/Level1/Chips.txt", false},
        {dir / "game/data/level1/chips.TXT", dir / "Game/Data/Level1/Chips.txt", true},
        {dir / "GAME/DATA", dir / "Game/Data", true},
        {dir / "GAME/DATA/", dir / "Game/Data/", true},
        // Exact spelling wins when both exist.
        {dir / "game/data/BOTH.txt", dir / "Game/Data/BOTH.txt", true},
        {dir / "game/data/both.txt", dir / "Game/Data/both.txt", true},
        // A file to be created: the parent resolves, the new name is kept.
        {dir / "game/DATA/New.txt", dir / "Game/Data/New.txt", true},
        // An unresolvable middle comes back unchanged.
        {dir / "game/nothing/chips.txt", dir / "game/nothing/chips.txt", false},
    };
    for (const auto& c : cases) {
        bool mismatch = !c.mismatch;
        EXPECT_EQ(ResolvePath(c.asked, &mismatch), c.expected) << c.asked;
        EXPECT_EQ(mismatch, c.mismatch) << c.asked;
    }
    EXPECT_EQ(ReadTextFile(dir / "GAME/data/BoTh.TxT"), "upper"); // smallest name of two matches

    // Relative paths resolve against the working directory.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.str());
    EXPECT_EQ(ResolvePath("game/data/level1/CHIPS.txt"), "Game/Data/Level1/Chips.txt");
    EXPECT_EQ(ResolvePath("./GAME/data"), "./Game/Data");
    EXPECT_EQ(FileType("GAME/DATA/level1"), 2);
    fs::current_path(cwd);
}

TEST(Files, FolderAndFileOperationsIgnoreCase)
{
    TempDir dir;
    EXPECT_EQ(FileType(dir.str()), 2);
    EXPECT_EQ(FileType(dir / "none"), 0);
    EXPECT_EQ(FileType(""), 0);

    ASSERT_TRUE(CreateFolder(dir / "Users"));
    EXPECT_TRUE(CreateFolder(dir / "USERS")); // already there in another case
    EXPECT_FALSE(fs::exists(dir / "USERS"));
    ASSERT_TRUE(CreateFolder(dir / "users/Sub")); // parent in another case
    EXPECT_TRUE(fs::is_directory(dir / "Users/Sub"));
    EXPECT_FALSE(CreateFolder(dir / "missing/child")); // the parent must exist
    const auto perms = fs::status(dir / "Users").permissions();
    EXPECT_EQ(perms & fs::perms::others_write, fs::perms::none);

    WriteBytes(dir / "Users/File.txt", "x");
    EXPECT_TRUE(FileExists(dir / "users/file.TXT"));
    EXPECT_FALSE(FileExists(dir / "users"));
    EXPECT_FALSE(DeleteFile(dir / "users/sub")); // folders are not deleted
    EXPECT_TRUE(DeleteFile(dir / "USERS/FILE.txt"));
    EXPECT_FALSE(FileExists(dir / "Users/File.txt"));
    EXPECT_FALSE(DeleteFile(dir / "Users/File.txt"));
}

TEST(Paths, PiecesOfAPath)
{
    struct Case {
        std::string path, name, without, ext;
    } cases[] = {
        {"Game/gfx/logo.png", "logo.png", "Game/gfx/logo", "png"},
        {"Game/gfx.d/logo", "logo", "Game/gfx.d/logo", ""},
        {"a.tar.gz", "a.tar.gz", "a.tar", "gz"},
        {"dir\\file.txt", "file.txt", "dir\\file", "txt"},
        {"Game/", "", "Game/", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(WithoutExtension(c.path), c.without) << c.path;
        EXPECT_EQ(Extension(c.path), c.ext) << c.path;
    }
    const std::string abs = AbsolutePath("Game/../Game/gfx");
    EXPECT_EQ(abs, fs::current_path().generic_string() + "/Game/gfx");
    EXPECT_EQ(AbsolutePath("/tmp/"), "/tmp");
}

TEST(System, AppDataFolderFollowsTheEnvironment)
{
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    const std::string savedHome = oldHome ? oldHome : "";

    setenv("XDG_DATA_HOME", "/data/xdg/", 1);
    EXPECT_EQ(AppDataFolder(), "/data/xdg");
    setenv("XDG_DATA_HOME", "relative", 1); // must be absolute to count
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(AppDataFolder(), "/home/player/.local/share");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(AppDataFolder(), "/home/player/.local/share");

    if (oldXdg)
        setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST(System, ExecutableAndProcessList)
{
    const std::string exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(FileType(exe), 1);

    const auto list = ProcessList();
    const int self = static_cast<int>(getpid());
    bool found = false;
    for (const auto& p : list) {
        if (p.id == self) {
            found = true;
            EXPECT_EQ(p.parentId, static_cast<int>(getppid()));
            EXPECT_EQ(p.exeName, FileNamePart(exe));
        }
    }
    EXPECT_TRUE(found);
}
