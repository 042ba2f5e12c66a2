// The player's settings file: exact text on the first run, a round trip of
// changed values, and damaged or hand-edited files that must never switch the
// sound off or the game into a window by accident.
#include "app/control.h"
#include "app/globalvars.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/settings.h"
#include "game/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using app::Settings;

namespace {

struct Values {
    float sound, music;
    int fullScreen, musicOn, soundOn, tutorialOn;
};

constexpr Values kDefaults{0.7f, 0.7f, 1, 1, 1, 1};

Values Current()
{
    return {Settings::SoundVolume, Settings::MusicVolume, Settings::FullScreen,
            Settings::MusicOn,     Settings::SoundOn,     Settings::TutorialOn};
}

void ExpectValues(const Values& want)
{
    const Values got = Current();
    EXPECT_FLOAT_EQ(got.sound, want.sound);
    EXPECT_FLOAT_EQ(got.music, want.music);
    EXPECT_EQ(got.fullScreen, want.fullScreen);
    EXPECT_EQ(got.musicOn, want.musicOn);
    EXPECT_EQ(got.soundOn, want.soundOn);
    EXPECT_EQ(got.tutorialOn, want.tutorialOn);
}

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("velmora_settings_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "Data");
        app::SetUserDataFolder(dir.string() + "/");
        Settings::ResetToDefaults();
        platform::SetLogSink([this](const std::string& line) { console += line + "\n"; });
    }
    void TearDown() override
    {
        platform::SetLogSink(nullptr);
        app::SetUserDataFolder("");
        Settings::ResetToDefaults();
        fs::remove_all(dir);
    }

    fs::path File() const { return dir / "Data" / "Settings.txt"; }
    void WriteFile(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }

    fs::path dir;
    std::string console;
};

const char* const kDefaultText = "SoundVolume = 0.699999988\n"
                                 "MusicVolume = 0.699999988\n"
                                 "FullScreen = 1\n"
                                 "MusicOn = 1\n"
                                 "SoundOn = 1\n"
                                 "TutorialOn = 1\n";

TEST_F(SettingsTest, FirstRunWritesTheDefaultsInTheirExactFormAndChangesRoundTrip)
{
    // Values left over from elsewhere must not leak into a first run.
    Settings::SoundVolume = 0.1f;
    Settings::FullScreen = 0;
    ASSERT_FALSE(fs::exists(File()));
    EXPECT_TRUE(Settings::Load());
    EXPECT_EQ(ReadAll(File()), kDefaultText);
    ExpectValues(kDefaults);
    EXPECT_EQ(Settings::FileText(), kDefaultText);

    const Values changed{0.3f, 1.0f, 0, 1, 0, 0};
    Settings::SoundVolume = changed.sound;
    Settings::MusicVolume = changed.music;
    Settings::FullScreen = changed.fullScreen;
    Settings::SoundOn = changed.soundOn;
    Settings::TutorialOn = changed.tutorialOn;
    ASSERT_TRUE(Settings::Save());
    EXPECT_EQ(ReadAll(File()), "SoundVolume = 0.300000012\n"
                               "MusicVolume = 1.00000000\n"
                               "FullScreen = 0\n"
                               "MusicOn = 1\n"
                               "SoundOn = 0\n"
                               "TutorialOn = 0\n");
    Settings::ResetToDefaults();
    EXPECT_TRUE(Settings::Load());
    ExpectValues(changed);
    EXPECT_EQ(console, "");
}

TEST_F(SettingsTest, DamagedOrEditedFilesKeepDefaultsClampAndIgnoreCase)
{
    struct Case {
        const char* what;
        std::string text;
        Values want;
        bool reported; // a console line names the file
    };
    const Case cases[] = {
        {"empty file", "", kDefaults, true},
        {"only one key", "SoundVolume = 0.25\n", {0.25f, 0.7f, 1, 1, 1, 1}, true},
        {"truncated in the middle of a key", "SoundVolume = 0.5\nMusicVolume = 0.4\nFullScr", {0.5f, 0.4f, 1, 1, 1, 1},
         true},
        {"last value without a line end", "SoundVolume = 0.5\nMusicVolume = 0.4\nFullScreen = 0\nMusicOn = 0\n"
                                          "SoundOn = 0\nTutorialOn = 0",
         {0.5f, 0.4f, 0, 0, 0, 0}, false},
        {"garbage values", "SoundVolume = loud\nMusicVolume = 0.4x\nFullScreen = yes\nMusicOn = \"\"\n"
                           "SoundOn = -\nTutorialOn = 1e\n",
         kDefaults, true},
        {"numbers that are not plain decimals", "SoundVolume = nan\nMusicVolume = -inf\nFullScreen = 0x0\n"
                                                 "MusicOn = 1\nSoundOn = 1\nTutorialOn = 1\n",
         kDefaults, true},
        {"explicit zeros are not defaults", "SoundVolume = 0\nMusicVolume = 0.0\nFullScreen = 0\nMusicOn = 0\n"
                                            "SoundOn = 0\nTutorialOn = 0\n",
         {0.0f, 0.0f, 0, 0, 0, 0}, false},
        {"volumes out of range", "SoundVolume = 1.5\nMusicVolume = -0.2\nFullScreen = 1\nMusicOn = 1\n"
                                 "SoundOn = 1\nTutorialOn = 1\n",
         {1.0f, 0.0f, 1, 1, 1, 1}, false},
        {"keys in other letter case", "soundvolume = 0.2\nMUSICVOLUME = 0.9\nfullscreen = 0\nmusicon = 1\n"
                                      "SOUNDON = 0\ntutorialOn = 1\n",
         {0.2f, 0.9f, 0, 1, 0, 1}, false},
        {"switches other than 0 and 1", "SoundVolume = 0.5\nMusicVolume = 0.5\nFullScreen = 2\nMusicOn = -1\n"
                                        "SoundOn = 0.9\nTutorialOn = 1.0\n",
         {0.5f, 0.5f, 1, 1, 0, 1}, false},
        {"CR LF line ends and blanks", "SoundVolume =  0.25 \r\nMusicVolume=0.75\r\n\tFullScreen = 0\r\n"
                                       "MusicOn = 1\r\nSoundOn = 1\r\nTutorialOn = 0\r\n",
         {0.25f, 0.75f, 0, 1, 1, 0}, false},
        {"keys inside a block are not top-level settings", "OPTIONS{\nFullScreen = 0\n}\n", kDefaults, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.text);
        Settings::SoundVolume = 0.123f; // stale values must all be replaced
        Settings::FullScreen = 7;
        Settings::MusicOn = 7;
        console.clear();
        EXPECT_TRUE(Settings::Load());
        ExpectValues(c.want);
        if (c.reported)
            EXPECT_NE(console.find(File().string()), std::string::npos) << console;
        else
            EXPECT_EQ(console, "");
        // A damaged file is left for the next save to replace, not rewritten here.
        EXPECT_EQ(ReadAll(File()), c.text);
    }
}

TEST_F(SettingsTest, UnwritableFolderIsReportedAndValuesStayInMemory)
{
    // "Data" is a file, so nothing can be created inside it, whoever runs the test.
    fs::remove_all(dir / "Data");
    std::ofstream(dir / "Data") << "not a folder";

    EXPECT_TRUE(Settings::Load());
    ExpectValues(kDefaults);
    EXPECT_NE(console.find("Cannot save the settings to " + File().string()), std::string::npos) << console;

    console.clear();
    Settings::MusicVolume = 0.2f;
    Settings::SoundOn = 0;
    EXPECT_FALSE(Settings::Save());
    EXPECT_NE(console.find("Cannot save the settings"), std::string::npos) << console;
    ExpectValues({0.7f, 0.2f, 1, 1, 0, 1});
}

TEST_F(SettingsTest, UnreadableFileAndUnknownFolderKeepDefaults)
{
    // A folder where the file should be cannot be read as settings.
    fs::create_directories(File());
    Settings::FullScreen = 0;
    EXPECT_FALSE(Settings::Load());
    ExpectValues(kDefaults);
    EXPECT_NE(console.find(File().string()), std::string::npos);

    app::SetUserDataFolder("");
    EXPECT_EQ(Settings::FilePath(), "");
    EXPECT_FALSE(Settings::Save());
    EXPECT_FALSE(Settings::Load());
    ExpectValues(kDefaults);
}

// A whole headless start: the settings are read from the user-data folder
// before the display opens and written back on the way out, and the game
// folder's tuning variables are applied.
TEST_F(SettingsTest, StartUpLoadsSettingsAndTuningVariablesAndSavesOnQuit)
{
    const fs::path game = dir / "game";
    const auto write = [](const fs::path& p, const std::string& text) {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    };
    write(game / "Local.txt", "English\n");
    write(game / "Local/English/appname.txt", "Velmora\n");
    write(game / "Local/English/Txt/Pause.txt", "Paused\n");
    write(game / "Local/English/Txt/LoadingText.txt", "Loading\n");
    write(File(), "SoundVolume = 0.5\nMusicOn = 0\n");

    struct Case {
        const char* what;
        std::string globalVars; // empty: no file
        int speedFPS;
    };
    const Case cases[] = {
        {"with a tuning-variable file", "[Developer]\nspeedfps = 90\n", 90},
        {"without one", "", 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(game / "Data/GlobalVars.txt");
        if (!c.globalVars.empty())
            write(game / "Data/GlobalVars.txt", c.globalVars);
        app::Control::Reset();
        Settings::ResetToDefaults();
        console.clear();

        game::CmdOptions o;
        o.headless = true;
        o.frames = 2;
        o.gameDir = game.string();
        o.userDir = dir.string();
        EXPECT_EQ(game::RunGame(o), 0) << console;

        EXPECT_FLOAT_EQ(Settings::SoundVolume, 0.5f);
        EXPECT_EQ(Settings::MusicOn, 0);
        EXPECT_EQ(Settings::FullScreen, 1) << "missing from the file: the default";
        EXPECT_EQ(app::Control::SpeedFPS, c.speedFPS);
        EXPECT_EQ(console.find("Cannot read the tuning-variable file") != std::string::npos, c.globalVars.empty())
            << console;
        // Quitting wrote the whole settings file back.
        EXPECT_EQ(ReadAll(File()), "SoundVolume = 0.500000000\nMusicVolume = 0.699999988\nFullScreen = 1\n"
                                   "MusicOn = 0\nSoundOn = 1\nTutorialOn = 1\n");
    }
    app::Control::Reset();
    app::SetGameDir("Game/");
    app::GlobalVars::Clear();
}

} // namespace
