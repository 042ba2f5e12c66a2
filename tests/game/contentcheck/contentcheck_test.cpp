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

// ---- the game's rules ----

// One field of one file of a copy of the shipped pack changed (or the file
// removed): the check must fail and name the file, the line and the field.
struct RuleFault {
    const char* name;
    const char* file; // relative to the game folder
    const char* from; // text that must occur in the file; null: the file is removed
    const char* to;
    const char* at;   // "FILE:LINE: " of the report, relative to the copy
    const char* says; // part of the same report line
};

class BrokenRules : public ::testing::TestWithParam<RuleFault> {};

// The copy of the pack with one edit; false when the text to change is not
// there (the pack changed under the test).
bool EditCopy(const std::string& game, const RuleFault& f)
{
    const std::string path = game + f.file;
    if (!f.from)
        return fs::remove(path);
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find(f.from);
    if (at == std::string::npos)
        return false;
    text.replace(at, std::string(f.from).size(), f.to);
    WriteFile(path, text);
    return true;
}

// The report line that begins with `at` and holds `says`, or "".
std::string ReportLine(const std::string& out, const std::string& at, const std::string& says)
{
    std::istringstream lines(out);
    for (std::string l; std::getline(lines, l);)
        if (l.rfind(at, 0) == 0 && l.find(says) != std::string::npos)
            return l;
    return "";
}

TEST_P(BrokenRules, FailsNamingFileLineAndField)
{
    const RuleFault& f = GetParam();
    TempDir tmp;
    const std::string game = tmp.Str() + "Game/";
    fs::copy("Game", game, fs::copy_options::recursive);
    ASSERT_TRUE(EditCopy(game, f)) << "\"" << f.from << "\" is no longer in " << f.file;
    std::ostringstream out;
    EXPECT_EQ(RunContentCheck(game, out), 1) << out.str();
    EXPECT_NE(ReportLine(out.str(), game + f.at, f.says), "")
        << "expected a line beginning " << game + f.at << " with \"" << f.says << "\"\noutput:\n" << out.str();
}

const char* const kLevel = "Data/levels/stage-1/Level-1.txt";
const char* const kHoles = "Data/levels/stage-3/Level-7.txt"; // a board whose corners are holes
const char* const kMapObjects = "Data/MapScreen/MapObjects.txt";
const char* const kQueue = "Data/MapScreen/ObjectsBuildingQue.txt";

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenRules,
    ::testing::Values(
        // Levels: kinds the engine data does not define.
        RuleFault{"UnknownFloorKind", kLevel, "row0 = \"1 2 0 0 0\"", "row0 = \"7 2 0 0 0\"",
                  "Data/levels/stage-1/Level-1.txt:10: ", "level::tile::row0: cell 0, 0 (\"7 2 0 0 0\"): no cell kind 7"},
        RuleFault{"UnknownOverlayKind", kLevel, "row0 = \"1 2 0 0 0\"", "row0 = \"1|8 2 0 0 0\"",
                  "Data/levels/stage-1/Level-1.txt:10: ", "no cell kind 8"},
        RuleFault{"UnknownChipKind", kLevel, "row0 = \"1 2 0 0 0\"", "row0 = \"1 9 0 0 0\"",
                  "Data/levels/stage-1/Level-1.txt:10: ", "no chip kind 9"},
        RuleFault{"UnknownObstacleKind", kLevel, "row0 = \"1 2 0 0 0\"", "row0 = \"1 2 1|7 0 0\"",
                  "Data/levels/stage-1/Level-1.txt:10: ", "no obstacle kind 7"},
        RuleFault{"CellFieldNotANumber", kLevel, "row0 = \"1 2 0 0 0\"", "row0 = \"1 two 0 0 0\"",
                  "Data/levels/stage-1/Level-1.txt:10: ", "\"two\" is not a whole number"},
        RuleFault{"UnknownChipKindInPlay", kLevel, "\"1 2 3 4 5 6\"", "\"1 2 3 4 5 66\"",
                  "Data/levels/stage-1/Level-1.txt:3: ", "level::data::availableChips: no chip kind 66"},
        RuleFault{"FiveChipKindsInPlay", kLevel, "\"1 2 3 4 5 6\"", "\"1 2 3 4 5\"",
                  "Data/levels/stage-1/Level-1.txt:3: ", "5 chip kinds; a level needs six"},
        RuleFault{"PowerChipInPlay", kLevel, "\"1 2 3 4 5 6\"", "\"1 2 3 4 5 6 103\"",
                  "Data/levels/stage-1/Level-1.txt:3: ", "103 is a power chip"},
        // Levels: numbers out of range and counts that disagree.
        RuleFault{"NegativeSeconds", kLevel, "seconds = 150", "seconds = -1", "Data/levels/stage-1/Level-1.txt:6: ",
                  "level::data::seconds: -1 is below 0"},
        RuleFault{"NegativeScore", kLevel, "score = 0", "score = -10", "Data/levels/stage-1/Level-1.txt:7: ",
                  "level::data::score: -10 is below 0"},
        RuleFault{"SizeWithAnExtraRow", kLevel, "size = 5, 6", "size = 6, 6", "Data/levels/stage-1/Level-1.txt:4: ",
                  "level::data::size: says 6 rows, 6 columns, but the tile group holds 5 rows"},
        RuleFault{"RowShortOfACell", kLevel, "\"2 5 0 0 0\", \"2 6 0 0 0\", \"1 1 0 0 0\"",
                  "\"2 5 0 0 0\", \"2 6 0 0 0\"", "Data/levels/stage-1/Level-1.txt:12: ",
                  "level::tile::row2: holds 5 cells, the board 6 columns"},
        RuleFault{"CreatorCountTooHigh", kLevel, "i = 6", "i = 7", "Data/levels/stage-1/Level-1.txt:17: ",
                  "level::creators::i: says 7 creators, but 6 are listed"},
        RuleFault{"CreatorOutsideTheBoard", kLevel, "c6 = 0, 5", "c6 = 0, 6", "Data/levels/stage-1/Level-1.txt:23: ",
                  "level::creators::c6: (0, 6) lies outside the board"},
        RuleFault{"CreatorOnAHole", kHoles, "c1 = 2, 0", "c1 = 0, 0", "Data/levels/stage-3/Level-7.txt:21: ",
                  "level::creators::c1: (0, 0) is a hole"},
        // The road: the last level of the shortest and of the longest stage.
        RuleFault{"LastLevelOfStageOneRemoved", "Data/levels/stage-1/Level-13.txt", nullptr, nullptr,
                  "Data/levels/stage-1/Level-13.txt:0: ", "level 13 of stage 1"},
        RuleFault{"LastLevelOfTheGameRemoved", "Data/levels/stage-5/Level-22.txt", nullptr, nullptr,
                  "Data/levels/stage-5/Level-22.txt:0: ", "level 22 of stage 5"},
        // Engine data: ids, references, counts, ranges.
        RuleFault{"CellKindIdTwice", "Data/Match3Engine/tiles.txt", "id = 3", "id = 2",
                  "Data/Match3Engine/tiles.txt:18: ", "tiles::tile3::id: id 2 is already used"},
        RuleFault{"YoungerKindUnknown", "Data/Match3Engine/tiles.txt", "YoungerTile = 2", "YoungerTile = 9",
                  "Data/Match3Engine/tiles.txt:20: ", "tiles::tile3::YoungerTile: no cell kind has id 9"},
        RuleFault{"CellKindCountShort", "Data/Match3Engine/tiles.txt", "i = 4", "i = 3",
                  "Data/Match3Engine/tiles.txt:2: ", "tiles::i: says 3 kinds, but 4 are written"},
        RuleFault{"ChipKindCountLong", "Data/Match3Engine/chips.txt", "i = 11", "i = 12",
                  "Data/Match3Engine/chips.txt:2: ", "chips::i: says 12 kinds, but 11 are written"},
        RuleFault{"ChipColourOutOfRange", "Data/Match3Engine/chips.txt", "rgb = 238, 90, 82", "rgb = 238, 300, 82",
                  "Data/Match3Engine/chips.txt:5: ", "chips::chip1::rgb: colour value 300"},
        RuleFault{"BombChipKindMissing", "Data/Match3Engine/chips.txt", "id = 103", "id = 104",
                  "Data/Match3Engine/chips.txt:0: ", "no chip kind 103"},
        RuleFault{"LowerObstacleUnknown", "Data/Match3Engine/obstacles.txt", "LowerObstacle = 1", "LowerObstacle = 5",
                  "Data/Match3Engine/obstacles.txt:14: ", "obstacles::obst2::LowerObstacle: no obstacle kind has id 5"},
        RuleFault{"FallSpeedZero", "Data/Match3Engine/settings.txt", "speedFallChip = 12", "speedFallChip = 0",
                  "Data/Match3Engine/settings.txt:9: ", "settings::speedFallChip: 0 must be above 0"},
        RuleFault{"NoSuchMatchMode", "Data/Match3Engine/settings.txt", "matchType = 0", "matchType = 3",
                  "Data/Match3Engine/settings.txt:12: ", "settings::matchType: 3 is not a match mode"},
        // Tuning variables.
        RuleFault{"PowerUpNeedZero", "Data/GlobalVars.txt", "PowerUp1CollectNeed = 20", "PowerUp1CollectNeed = 0",
                  "Data/GlobalVars.txt:18: ", "PowerUp1CollectNeed is 0: it must be at least 1"},
        RuleFault{"PowerUpNeedNotSet", "Data/GlobalVars.txt", "PowerUp6CollectNeed = 40\n", "",
                  "Data/GlobalVars.txt:0: ", "PowerUp6CollectNeed is not set and its built-in value 0"},
        RuleFault{"PopUpSpeedZero", "Data/GlobalVars.txt", "POPUPSHOWSPEED = 0.025", "POPUPSHOWSPEED = 0",
                  "Data/GlobalVars.txt:15: ", "POPUPSHOWSPEED is 0: it must be above 0"},
        RuleFault{"PowerUpUnlockedByNoPurchase", "Data/GlobalVars.txt", "PowerUp3Unlocker = 12",
                  "PowerUp3Unlocker = 1001", "Data/GlobalVars.txt:26: ",
                  "PowerUp3Unlocker is 1001: no purchase of the building queue has this id"},
        // The city map's catalogue. Object 16 (the windmill, a purchase of
        // chapter 4) begins at line 287; 1021 (scaffolding on the start map) at 303.
        RuleFault{"CatalogueMissing", kMapObjects, nullptr, nullptr, "Data/MapScreen/MapObjects.txt:0: ",
                  "missing: read by the map screen"},
        RuleFault{"UnknownMapObjectKind", kMapObjects, "Type = \"BUILDOBJECT\"\n\tId = 16\n",
                  "Type = \"HOUSE\"\n\tId = 16\n", "Data/MapScreen/MapObjects.txt:288: ",
                  "MapObject::Type: unknown kind \"HOUSE\""},
        RuleFault{"MapObjectIdTwice", kMapObjects, "Id = 30\n", "Id = 16\n", "Data/MapScreen/MapObjects.txt:318: ",
                  "MapObject::Id: 16 is already the id of the map object at line 289"},
        RuleFault{"MapObjectWithoutId", kMapObjects, "\tId = 1021\n", "", "Data/MapScreen/MapObjects.txt:303: ",
                  "MapObject::Id is missing"},
        RuleFault{"UnknownDrawObjectKind", kMapObjects, "Type = \"IMAGE\"\n\t\tDim = 1188, 110",
                  "Type = \"PICTURE\"\n\t\tDim = 1188, 110", "Data/MapScreen/MapObjects.txt:298: ",
                  "MapObject::Obj::Type: \"PICTURE\" is not a kind of draw object"},
        RuleFault{"MapPictureMissing", kMapObjects, "Url = \"Windmill.png\"", "Url = \"NoWindmill.png\"",
                  "Data/MapScreen/MapObjects.txt:300: ", "gfx/Map/NoWindmill.png\" does not exist"},
        RuleFault{"MapObjectWithoutDrawObject", kMapObjects,
                  "\tObj {\n\t\tType = \"IMAGE\"\n\t\tDim = 849, 204\n\t\tUrl = \"Scaffolding.png\"\n\t}\n", "",
                  "Data/MapScreen/MapObjects.txt:303: ", "map object 1021 has no draw object"},
        RuleFault{"HideListNamesNothing", kMapObjects, "HideObjects = \"1021\"", "HideObjects = \"1099\"",
                  "Data/MapScreen/MapObjects.txt:324: ", "MapObject::HideObjects: no map object has the id 1099"},
        RuleFault{"ShowListHoldsAWord", kMapObjects, "ShowObjects = \"52\"", "ShowObjects = \"52 swings\"",
                  "Data/MapScreen/MapObjects.txt:340: ", "MapObject::ShowObjects: \"swings\" is not an id"},
        RuleFault{"ReversedNeitherZeroNorOne", kMapObjects, "IsExistReversed = 1", "IsExistReversed = 2",
                  "Data/MapScreen/MapObjects.txt:396: ", "MapObject::IsExistReversed: \"2\" must be 0"},
        RuleFault{"BackgroundIndexTen", kMapObjects, "BackgroundIndex = 4", "BackgroundIndex = 10",
                  "Data/MapScreen/MapObjects.txt:296: ", "MapObject::BackgroundIndex: \"10\" is not 0 to 9"},
        RuleFault{"NameOnNoLine", kMapObjects, "Name = 45", "Name = 400", "Data/MapScreen/MapObjects.txt:291: ",
                  "MapObject::Name: \"400\" is no line of"},
        RuleFault{"PurchaseNameEmpty", "Local/English/Txt/MapObjects.txt", "\nWindmill\n", "\n\n",
                  "Data/MapScreen/MapObjects.txt:291: ", "MapObject::Name: line 45 of"},
        RuleFault{"PurchaseWithoutPrice", kMapObjects, "Price = 120", "Price = 0", "Data/MapScreen/MapObjects.txt:293: ",
                  "MapObject::Price: map object 16 is a purchase and needs a price above 0"},
        RuleFault{"PurchaseIconMissing", kMapObjects, "Icon = \"Windmill\"", "Icon = \"Windmil\"",
                  "Data/MapScreen/MapObjects.txt:290: ", "gfx/gui/MapScreen/icons/Windmil.png\" does not exist"},
        RuleFault{"PurchaseWithoutIcon", kMapObjects, "\tIcon = \"Windmill\"\n", "",
                  "Data/MapScreen/MapObjects.txt:287: ", "MapObject::Icon: map object 16 is a purchase and needs an icon"},
        RuleFault{"StartMapObjectNotInTheCatalogue", kMapObjects, "Id = 1021\n", "Id = 1099\n",
                  "Data/MapScreen/MapObjects.txt:0: ", "the start map's object 1021 is not in the catalogue"},
        RuleFault{"MapScreenTextShort", "Local/English/Txt/MapScreen.txt", "Build the other three first!\n", "",
                  "Local/English/Txt/MapScreen.txt:0: ", "holds 8 lines; the map screen reads lines 1 to 9"},
        // The building queue.
        RuleFault{"QueueMissing", kQueue, nullptr, nullptr, "Data/MapScreen/ObjectsBuildingQue.txt:0: ",
                  "missing: read by the map screen"},
        RuleFault{"ChapterOfThree", kQueue, "Chapter3 = 8, 10, 11, 12", "Chapter3 = 8, 10, 11",
                  "Data/MapScreen/ObjectsBuildingQue.txt:3: ", "Chapter3: needs 4 ids, has 3"},
        RuleFault{"ChapterMissing", kQueue, "Chapter8 = 29, 31, 30, 32\n", "",
                  "Data/MapScreen/ObjectsBuildingQue.txt:0: ", "Chapter8: missing"},
        RuleFault{"QueuedWord", kQueue, "Chapter2 = 5, 6, 9, 7", "Chapter2 = 5, \"six\", 9, 7",
                  "Data/MapScreen/ObjectsBuildingQue.txt:2: ", "Chapter2: \"six\" (slot 2) is not an id"},
        RuleFault{"QueuedIdNamesNothing", kQueue, "Chapter4 = 13, 14, 15, 16", "Chapter4 = 13, 14, 15, 99",
                  "Data/MapScreen/ObjectsBuildingQue.txt:4: ", "Chapter4: slot 4 names 99, which is no map object"},
        RuleFault{"QueuedTwice", kQueue, "Chapter5 = 17, 18, 19, 20", "Chapter5 = 17, 18, 19, 16",
                  "Data/MapScreen/ObjectsBuildingQue.txt:5: ",
                  "Chapter5: map object 16 (slot 4) is already queued in Chapter4 slot 4"},
        RuleFault{"QueuedRemovalNotOnTheMap", kMapObjects, "Icon = \"Windmill\"\n",
                  "Icon = \"Windmill\"\n\tIsExistReversed = 1\n", "Data/MapScreen/ObjectsBuildingQue.txt:4: ",
                  "Chapter4: map object 16 (slot 4) is a removal (IsExistReversed 1) that is not on the start map"},
        RuleFault{"QueuedObjectOnTheStartMap", kMapObjects, "IsExistReversed = 1\n\tName = 59",
                  "IsExistReversed = 0\n\tName = 59", "Data/MapScreen/ObjectsBuildingQue.txt:3: ",
                  "Chapter3: map object 11 (slot 3) stands on the start map already"},
        RuleFault{"QueuedObjectShownByAPurchase", kMapObjects, "ShowObjects = \"52\"", "ShowObjects = \"52 12\"",
                  "Data/MapScreen/ObjectsBuildingQue.txt:3: ",
                  "Chapter3: map object 12 (slot 4) is shown by the purchase of map object 8"},
        // The economy: the road's 5562 coins against the queue's prices.
        RuleFault{"EconomyLeavesAnObjectUnbought", kMapObjects, "ShowObjects = \"52\"", "ShowObjects = \"52 12\"",
                  "Data/MapScreen/ObjectsBuildingQue.txt:0: ",
                  "economy: the player who collects every coin has bought 31 of the 32 purchases"},
        RuleFault{"EconomyMarginBelowTenPercent", kMapObjects, "Price = 120", "Price = 500",
                  "Data/MapScreen/ObjectsBuildingQue.txt:0: ",
                  "economy: the 95 levels pay 5562 coins for purchases of 5180: a margin of 7.4 %, below 10.0 %; 136 "
                  "more coins needed"}),
    [](const ::testing::TestParamInfo<RuleFault>& p) { return std::string(p.param.name); });

// What is allowed but unusual: a warning, and the check still passes.
TEST(ContentCheck, UnusualLevelsAreWarningsNotFailures)
{
    TempDir tmp;
    const std::string game = tmp.Str() + "Game/";
    fs::copy("Game", game, fs::copy_options::recursive);
    const std::string levels = game + "Data/levels/";
    // A level no road reaches.
    fs::copy_file(levels + "stage-1/Level-1.txt", levels + "stage-1/Level-14.txt");
    // A level found only by ignoring letter case.
    fs::rename(levels + "stage-2/Level-3.txt", levels + "stage-2/level-3.TXT");
    // A starting board without a move: rows of the six kinds shifted by three.
    std::string rows;
    for (int r = 0; r < 6; ++r) {
        rows += "\t\trow" + std::to_string(r) + " = ";
        for (int c = 0; c < 6; ++c)
            rows += std::string(c ? ", " : "") + "\"1 " + std::to_string((c + 3 * r) % 6 + 1) + " 0 0 0\"";
        rows += "\n";
    }
    std::ifstream in(levels + "stage-1/Level-2.txt");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const size_t a = text.find("\t\trow0"), b = text.find("\t}", a);
    ASSERT_NE(a, std::string::npos);
    text.replace(a, b - a, rows);
    WriteFile(levels + "stage-1/Level-2.txt", text);

    std::ostringstream out;
    EXPECT_EQ(RunContentCheck(game, out), 0) << out.str();
    EXPECT_NE(ReportLine(out.str(), levels + "stage-1/Level-14.txt:0: warning: ", "no level of the road"), "")
        << out.str();
    EXPECT_NE(ReportLine(out.str(), levels + "stage-2/Level-3.txt:0: warning: ", "letter case differs"), "")
        << out.str();
    EXPECT_NE(ReportLine(out.str(), levels + "stage-1/Level-2.txt:", "warning: the starting board has no move"), "")
        << out.str();
    EXPECT_NE(out.str().find(": 0 errors, 3 warnings"), std::string::npos) << out.str();
}

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
