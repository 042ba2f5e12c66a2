// Tuning variables: registration, the INI-style override file and the game's
// own Data/GlobalVars.txt.
#include "app/control.h"
#include "app/globalvars.h"
#include "app/platform/core/system.h"
#include "datafiles/inifile.h"

#include <gtest/gtest.h>

#include <set>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using app::GlobalVars;

namespace {

class GlobalVarsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app::RegisterProgramGlobalVars();
        platform::SetLogSink([this](const std::string& line) { console += line + "\n"; });
    }
    void TearDown() override
    {
        platform::SetLogSink(nullptr);
        app::RegisterProgramGlobalVars(); // back to the defaults for other tests
        GlobalVars::Clear();
    }
    std::string console;
};

TEST_F(GlobalVarsTest, ProgramVariablesAreRegisteredInOrderWithUpperCaseNames)
{
    const char* const expected[] = {
        "AUTOPROFILECREATE", "CRUSHTILESEFFECT", "POPUPDARKFADESPEED", "POPUPSHOWSPEED",
        "POWERUP1COLLECTNEED", "POWERUP2COLLECTNEED", "POWERUP3COLLECTNEED", "POWERUP4COLLECTNEED",
        "POWERUP5COLLECTNEED", "POWERUP6COLLECTNEED", "POWERUPSAVAILABLEDURINGFIGHT", "FIGHTCHIPID",
        "PLAYERHITPOINTSSPEED", "ONESTARSCORE", "TWOSTARSCORE", "TRISTARSCORE", "SCORETOGOLDRATIO",
        "TIMETOGOLDRATIO", "POWERUP1UNLOCKER", "POWERUP2UNLOCKER", "POWERUP3UNLOCKER", "POWERUP4UNLOCKER",
        "POWERUP5UNLOCKER", "ISMUSICCONTINUED", "DIALOGTEXTMOVEX", "DIALOGTEXTMOVEY", "DIALOGTEXTWIDTH",
        "SPEEDFPS",
    };
    const auto& list = GlobalVars::List();
    ASSERT_EQ(list.size(), std::size(expected));
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i]->name, expected[i]) << "entry " << i;

    // The kinds decide how the file's values are read.
    EXPECT_TRUE(dynamic_cast<app::TRegVarBool*>(GlobalVars::Find("isMusicContinued")));
    EXPECT_TRUE(dynamic_cast<app::TRegVarFloat*>(GlobalVars::Find("ScoreToGoldRatio")));
    auto* speed = dynamic_cast<app::TRegVarInt*>(GlobalVars::Find(" speedfps "));
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->v, &app::Control::SpeedFPS);
    EXPECT_FALSE(dynamic_cast<app::TRegVarBool*>(speed));

    // Registering again starts afresh: no duplicates, defaults restored.
    GlobalVars::POPUPDARKFADESPEED = 0.9f;
    app::Control::SpeedFPS = 30;
    app::RegisterProgramGlobalVars();
    EXPECT_EQ(GlobalVars::List().size(), std::size(expected));
    EXPECT_FLOAT_EQ(GlobalVars::POPUPDARKFADESPEED, 0.05f);
    EXPECT_EQ(app::Control::SpeedFPS, 120);
}

TEST_F(GlobalVarsTest, FileValuesAreAppliedByKind)
{
    struct Case {
        const char* what;
        std::string text;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"float in any section and letter case", "[Whatever]\npopupDarkFadeSpeed = 0.1\n",
         [] { EXPECT_FLOAT_EQ(GlobalVars::POPUPDARKFADESPEED, 0.1f); }},
        {"every section is applied", "[A]\nFightChipId = 3\n[B]\nOneStarScore = 55\n",
         [] {
             EXPECT_EQ(GlobalVars::FightChipId, 3);
             EXPECT_EQ(GlobalVars::OneStarScore, 55);
         }},
        {"flag: 1 is not TRUE", "[Main]\nAutoProfileCreate = 1\n", [] { EXPECT_EQ(GlobalVars::AutoProfileCreate, 0); }},
        {"flag: TRUE in any case", "[Main]\nAutoProfileCreate = 0\nisMusicContinued = tRuE\n",
         [] {
             EXPECT_EQ(GlobalVars::AutoProfileCreate, 0);
             EXPECT_EQ(GlobalVars::isMusicContinued, 1);
         }},
        {"ints and floats read as numbers, non-numbers as 0",
         "[Main]\nPowerUp3CollectNeed = 25\nPowerUp6CollectNeed = $10\nTwoStarScore = many\nTimeToGoldRatio = 0.25x\n"
         "ScoreToGoldRatio = none\n",
         [] {
             EXPECT_EQ(GlobalVars::PowerUpCollectNeed[2], 25);
             EXPECT_EQ(GlobalVars::PowerUpCollectNeed[5], 16);
             EXPECT_EQ(GlobalVars::TwoStarScore, 0);
             EXPECT_FLOAT_EQ(GlobalVars::TimeToGoldRatio, 0.25f);
             EXPECT_FLOAT_EQ(GlobalVars::ScoreToGoldRatio, 0.0f);
         }},
        {"unknown names are ignored", "[Main]\nNoSuchVariable = 5\nDialogTextWidth = 380\n",
         [] { EXPECT_EQ(GlobalVars::DialogTextWidth, 380); }},
        {"a later parameter overwrites an earlier one", "[A]\nSpeedFPS = 90\n[B]\nSpeedFPS = 240\n",
         [] { EXPECT_EQ(app::Control::SpeedFPS, 240); }},
        {"words before the first section are a comment", "Tuning values = for designers\n[Main]\nPowerUp1Unlocker = 7\n",
         [] {
             EXPECT_EQ(GlobalVars::PowerUp1Unlocker, 7);
             EXPECT_EQ(GlobalVars::PowerUpUnlocker(1), 7);
             EXPECT_EQ(GlobalVars::PowerUpUnlocker(6), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app::RegisterProgramGlobalVars();
        GlobalVars::ApplyText(c.text);
        c.check();
    }
}

TEST_F(GlobalVarsTest, DuplicateRegistrationOnlyTheFirstIsSet)
{
    GlobalVars::Clear();
    float first = 1.0f, second = 2.0f;
    app::RegisterFloatVar(first, "Speed");
    app::RegisterFloatVar(second, "SPEED");
    EXPECT_EQ(GlobalVars::List().size(), 2u);
    GlobalVars::ApplyText("[X]\nspeed = 4.5\n");
    EXPECT_FLOAT_EQ(first, 4.5f);
    EXPECT_FLOAT_EQ(second, 2.0f);
}

TEST_F(GlobalVarsTest, MissingFileKeepsDefaultsAndLogsOneLine)
{
    const std::string missing = (fs::temp_directory_path() / "velmora_no_such_dir" / "GlobalVars.txt").string();
    EXPECT_FALSE(app::LoadGlobalVars(missing));
    EXPECT_FLOAT_EQ(GlobalVars::POPUPSHOWSPEED, 0.025f);
    EXPECT_EQ(GlobalVars::DialogTextMoveY, 48);
    EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
    EXPECT_NE(console.find(missing), std::string::npos);
}

TEST_F(GlobalVarsTest, CheckerReportsWhatTheLoaderWouldGetWrong)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::pair<int, std::string>> want; // line and a part of the message
    };
    const Case cases[] = {
        {"a clean file", "Header text\n[A]\nSpeedFPS = 90\nAutoProfileCreate = true\nPOPUPSHOWSPEED = .5\n"
                         "PowerUp1CollectNeed = $1F\n", {}},
        {"unknown name", "[A]\nSpeedFSP = 90\n", {{2, "unknown name SpeedFSP"}}},
        {"missing equals sign shifts the rest of the section",
         "[A]\nFightChipId 2\nOneStarScore = 5\n[B]\nTwoStarScore = 7\nTriStarScore = x\n",
         {{2, "should follow FightChipId"}, {6, "TriStarScore: \"x\" is not a whole number (reads as 0)"}}},
        {"flag written as a number", "[A]\nisMusicContinued = 1\n", {{2, "neither TRUE nor FALSE"}}},
        {"float that is no number", "[A]\nPOPUPDARKFADESPEED = fast\n", {{2, "is not a number"}}},
        {"int written with a fraction", "[A]\nDialogTextWidth = 400.5\n", {{2, "reads as 400"}}},
        {"incomplete last line", "[A]\nSpeedFPS = 90\nFightChipId =\n", {{3, "incomplete line starting with FightChipId"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto problems = app::CheckGlobalVarsText(c.text);
        ASSERT_EQ(problems.size(), c.want.size());
        for (size_t i = 0; i < problems.size(); ++i) {
            EXPECT_EQ(problems[i].line, c.want[i].first);
            EXPECT_NE(problems[i].message.find(c.want[i].second), std::string::npos) << problems[i].message;
        }
    }
}

TEST_F(GlobalVarsTest, GameFileSetsEveryVariableWithSensibleValues)
{
    const std::string path = "Game/Data/GlobalVars.txt";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find('\r'), std::string::npos) << "LF line ends";
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');

    for (const auto& p : app::CheckGlobalVarsText(text))
        ADD_FAILURE() << path << ":" << p.line << ": " << p.message;

    // Every registered name is set by the file, and nothing else is named there.
    const auto sections = ParseIniText(text);
    ASSERT_FALSE(sections.empty());
    std::vector<std::string> named;
    for (const auto& s : sections)
        for (const auto& p : s->params) {
            EXPECT_TRUE(GlobalVars::Find(p.id)) << "unknown name " << p.id;
            named.push_back(p.id);
        }
    for (const auto& e : GlobalVars::List())
        EXPECT_NE(std::find(named.begin(), named.end(), e->name), named.end()) << e->name << " not set";

    ASSERT_TRUE(app::LoadGlobalVars(path));
    for (int need : GlobalVars::PowerUpCollectNeed) {
        EXPECT_GE(need, 20);
        EXPECT_LE(need, 40);
    }
    // Each power-up is unlocked by its own purchase (the content check makes
    // sure they are map objects of the queue).
    std::set<int> unlockers;
    for (int n = 1; n <= 5; ++n) {
        EXPECT_GT(GlobalVars::PowerUpUnlocker(n), 0) << n;
        unlockers.insert(GlobalVars::PowerUpUnlocker(n));
    }
    EXPECT_EQ(unlockers.size(), 5u);
    EXPECT_GT(GlobalVars::POPUPDARKFADESPEED, 0.0f);
    EXPECT_GT(GlobalVars::POPUPSHOWSPEED, 0.0f);
    EXPECT_LT(GlobalVars::OneStarScore, GlobalVars::TwoStarScore);
    EXPECT_LT(GlobalVars::TwoStarScore, GlobalVars::TriStarScore);
    EXPECT_GT(GlobalVars::DialogTextWidth, 0);
    EXPECT_GT(app::Control::SpeedFPS, 60);
    EXPECT_EQ(console, "");
}

} // namespace
