// Program-wide paths: trimming, the user-data folder and the marker files.
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "datafiles/txtfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("velmora_paths_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }
    fs::path dir;
};

TEST(Paths, TrimRemovesControlCharactersAndBlanksAtBothEnds)
{
    EXPECT_EQ(app::TrimText(" \t English\r\n"), "English");
    EXPECT_EQ(app::TrimText("\x01Two words\x1f"), "Two words");
    EXPECT_EQ(app::TrimText(" \n "), "");
    EXPECT_EQ(app::TrimText("caf\xc3\xa9"), "caf\xc3\xa9") << "UTF-8 bytes are above 32 and stay";
}

TEST(Paths, GameDirGetsATrailingSlashAndLocalDirFollowsTheLanguage)
{
    app::SetGameDir("content");
    app::SetLanguageFolder("English");
    EXPECT_EQ(app::GameDir(), "content/");
    EXPECT_EQ(app::LocalDir(), "content/Local/English/");
    app::SetGameDir("");
    EXPECT_EQ(app::GameDir(), "Game/");
}

TEST_F(PathsTest, PathTokensOfDataFilesFollowTheGameFolder)
{
    // A pack in another folder, as --game-dir names it: "[BDIR]" and "[LANG]"
    // in data files, the language folder and the localised texts all come
    // from there, not from the default "Game/".
    const fs::path pack = dir / "pack";
    fs::create_directories(pack / "Local" / "English" / "txt");
    std::ofstream(pack / "Local" / "English" / "txt" / "Hello.txt") << "Hello from the other pack\n";
    app::SetGameDir(pack.string());
    app::SetLanguageFolder("English");
    const std::string root = pack.string() + "/";

    EXPECT_EQ(ExpandPath("[BDIR]gfx/a.png"), root + "gfx/a.png");
    EXPECT_EQ(ExpandPath("[LANG]gfx/a.png"), root + "gfx/a.png");
    EXPECT_EQ(ExpandBDir("[BDIR]sfx/a.ogg"), root + "sfx/a.ogg");
    EXPECT_EQ(GamePaths::GameFolder(), app::GameDir());
    EXPECT_EQ(GamePaths::LanguageRoot(), app::LocalDir());
    EXPECT_EQ(GetTxtLine(LoadTxtFile("[LANG]Local/English/txt/Hello.txt"), 1), "Hello from the other pack");

    app::SetGameDir("");
    EXPECT_EQ(ExpandPath("[BDIR]x"), "Game/x");
}

TEST_F(PathsTest, PreparesVelmoraFolderWithDataAndProfiles)
{
    const fs::path base = dir / "share" / "deeper"; // missing parents are made too
    const app::UserFolderResult r = app::PrepareUserDataFolder(base.string());
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.folder, base.string() + "/Velmora/");
    EXPECT_TRUE(fs::is_directory(base / "Velmora" / "Data"));
    EXPECT_TRUE(fs::is_directory(base / "Velmora" / "Profiles"));
    // Only the owner's default permissions: nothing is opened up to others.
    const auto perms = fs::status(base / "Velmora").permissions();
    EXPECT_EQ(perms & fs::perms::others_write, fs::perms::none);

    // A second run finds everything in place.
    EXPECT_TRUE(app::PrepareUserDataFolder(base.string()).ok);
}

TEST_F(PathsTest, OverrideFolderIsUsedAsIs)
{
    const fs::path user = dir / "user";
    const app::UserFolderResult r = app::PrepareUserDataFolder("/nonexistent-base", user.string() + "\\");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.folder, user.string() + "/");
    EXPECT_TRUE(fs::is_directory(user / "Profiles"));
}

TEST_F(PathsTest, FolderThatCannotBeCreatedIsReportedNotThrown)
{
    std::ofstream(dir / "blocker") << "a file where the folder should be";
    const app::UserFolderResult r = app::PrepareUserDataFolder((dir / "blocker").string());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("blocker"), std::string::npos) << r.message;
}

TEST_F(PathsTest, MarkerFlagsFollowTheFiles)
{
    app::ReadMarkerFlags(dir.string());
    EXPECT_FALSE(app::Markers().cheats);
    EXPECT_FALSE(app::Markers().noStory);
    std::ofstream(dir / "Cheats.txt") << "";
    std::ofstream(dir / "Nostory.txt") << "";
    fs::create_directory(dir / "NoSound.txt"); // a folder is not a marker file
    app::ReadMarkerFlags(dir.string());
    EXPECT_TRUE(app::Markers().cheats);
    EXPECT_TRUE(app::Markers().noStory);
    EXPECT_FALSE(app::Markers().noSound);
    EXPECT_FALSE(app::Markers().noDialogs);
}

} // namespace
