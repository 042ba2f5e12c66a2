// Engine data files, level files, board pictures and the kind checks.
#include <unistd.h>

#include <fstream>
#include <functional>

#include "m3_support.h"
#include "match3/m3check.h"
#include "match3/m3read.h"

using namespace match3;
using m3test::Board;
using m3test::TempDir;

namespace {

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(EngineData, FixtureKindsAndSettings)
{
    TM3Driver d;
    ASSERT_TRUE(d.LoadEngine(m3test::kEngineDir)) << d.Error();
    const TM3Game& g = d.Game();
    EXPECT_EQ(g.tileW, 72.0f);
    EXPECT_EQ(g.tileH, 72.0f);
    EXPECT_EQ(g.speedFallChip, 8.0f);
    EXPECT_EQ(g.speedLandAcc, 1.0f);
    EXPECT_EQ(g.MinMoveX, 10.0f);
    EXPECT_EQ(g.MinMoveY, 12.0f);
    EXPECT_FLOAT_EQ(g.ChipShadowAlpha, 0.3f);
    EXPECT_EQ(g.MatchType, 0);
    ASSERT_EQ(g.tilesList.size(), 5u);
    ASSERT_TRUE(d.LoadEngine(m3test::kEngineDir));
    EXPECT_EQ(g.tilesList.size(), 5u) << "loading again replaces the kinds";
    EXPECT_EQ(g.GetTileDataById(3)->younger, g.GetTileDataById(2).get());
    EXPECT_EQ(g.GetTileDataById(3)->older, g.GetTileDataById(4).get());
    EXPECT_EQ(g.GetTileDataById(1)->younger, nullptr);
    EXPECT_EQ(g.GetTileDataById(4)->older, nullptr);
    EXPECT_EQ(g.chipsList.size(), 9u);
    EXPECT_EQ(g.GetChipDataById(3)->r, 60);
    EXPECT_EQ(g.GetChipDataById(7), nullptr);
    EXPECT_TRUE(g.GetChipDataById(1)->gfx.empty());
    EXPECT_EQ(g.GetObstacleById(2)->LowerObstacle, g.GetObstacleById(1));
    EXPECT_EQ(g.GetObstacleById(1)->HigherObstacle, g.GetObstacleById(2));
    EXPECT_EQ(g.GetObstacleById(3)->Typ, kObstacleChest);
    EXPECT_EQ(g.GetObstacleById(4)->isNonMatch, 1);
}

TEST(EngineData, MissingOrEmptyFilesAreErrorsNamingThePath)
{
    TempDir tmp;
    struct Case {
        const char* what;
        const char* file;    // written empty, or left missing when null text
        const char* text;
    } cases[] = {
        {"missing settings", "settings.txt", nullptr},
        {"empty tiles", "tiles.txt", ""},
        {"tiles without kinds", "tiles.txt", "tiles {\n\ti = 0\n}\n"},
        {"empty chips", "chips.txt", "  \n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = tmp.Str() + std::to_string(&c - cases) + "/";
        std::filesystem::create_directories(dir + "data/Match3Engine");
        for (const char* f : {"settings.txt", "tiles.txt", "chips.txt", "obstacles.txt"})
            std::filesystem::copy_file(std::string(m3test::kEngineDir) + "data/Match3Engine/" + f,
                                       dir + "data/Match3Engine/" + f);
        const std::string path = dir + "data/Match3Engine/" + c.file;
        if (c.text)
            Write(path, c.text);
        else
            std::filesystem::remove(path);
        TM3Driver d;
        EXPECT_FALSE(d.LoadEngine(dir));
        EXPECT_NE(d.Error().find(path), std::string::npos) << d.Error();
    }
}

TEST(EngineData, AnimatedChipsPicturesAndLookups)
{
    TempDir tmp;
    Write(tmp.File("chips.txt"), R"(chips {
	i = 3
	chip1 {
		id = 5
		gfx = ""
		anims {
			i = 1
			standardAnim = 1
			allFrames {
				i = 3
				Frame1 = "[BDIR]gfx/a1.png"
				Frame2 = "[BDIR]gfx/a2.png"
				Frame3 = "[BDIR]gfx/a3.png"
			}
			anim1 {
				id = 1
				frames = 3
				frame = 1, 2, 3
				framesTime = 100, 100, 100
			}
		}
	}
	chip2 {
		id = 5
		gfx = "[BDIR]gfx/second.png"
	}
	chip3 {
		id = 6
		gfx = "[BDIR]gfx/static.png"
	}
}
)");
    Write(tmp.File("tiles.txt"), "tiles {\n\ti = 1\n\ttile1 {\n\t\tid = 1\n\t\tgfx = \"[BDIR]gfx/t.png\"\n"
                                 "\t\thandle = 0, 7\n\t}\n}\n");
    TM3Game g;
    g.gameFolder = "/game/";
    ASSERT_TRUE(g.LoadM3Chips(tmp.File("chips.txt"), 0, 1)) << g.error;
    ASSERT_TRUE(g.LoadM3Tiles(tmp.File("tiles.txt"), 0, 1)) << g.error;
    const auto anim = g.GetChipDataById(5);
    ASSERT_EQ(anim->gfx.size(), 3u) << "the first of two kinds with one id wins";
    EXPECT_EQ(anim->gfx[1]->url, "/game/gfx/a2.png");
    ASSERT_EQ(anim->anims.size(), 1u);
    EXPECT_EQ(anim->anims[0].frame, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(anim->standardAnim, 1);
    EXPECT_EQ(g.GetChipDataById(6)->gfx.size(), 1u);
    EXPECT_EQ(g.GetChipDataById(6)->gfx[0]->flags, 6);
    EXPECT_EQ(g.GetTileDataById(1)->gfx->HandledMiddle, 1) << "handle value 0 of 0 centres the picture";
    // Frames outside the kind's pictures draw nothing and give no picture.
    for (int frame : {-1, 3, 1000})
        EXPECT_EQ(anim->GetGFX(frame), nullptr) << frame;
    anim->Draw(10, 10, 99);
    EXPECT_EQ(TM3ChipData().GetGFX(0), nullptr);

    // The standard animation loops through its frames on the clock.
    auto chip = g.CreateChipById(5);
    struct Tick {
        int64_t clock;
        int frame;
    } ticks[] = {{0, 0}, {50, 0}, {100, 1}, {200, 2}, {300, 0}, {400, 1}};
    for (const auto& t : ticks) {
        g.SetTime(1.0f, t.clock);
        chip->update();
        EXPECT_EQ(chip->actFrame, t.frame) << t.clock;
    }
}

class LevelFile : public Board {};

TEST_F(LevelFile, DataEntriesAndCoins)
{
    std::string text;
    ASSERT_TRUE(LevelTextFromPicture(". .$1 .$2\n. . .", "3 5 7 1 2 4", 90, text, nullptr));
    TM3Level lvl;
    lvl.myM3Game = &G();
    ASSERT_TRUE(lvl.LoadText(text, "mem")) << lvl.error;
    EXPECT_EQ(lvl.MaxSeconds, 90);
    EXPECT_EQ(lvl.TotalCoins, 3);
    EXPECT_EQ(lvl.GetAvailablesString(), "3 5 1 2 4") << "kind 7 does not exist";
    EXPECT_EQ(lvl.warnings.size(), 1u);
    ASSERT_TRUE(LevelTextFromPicture(".", "1", 0, text, nullptr));
    ASSERT_TRUE(lvl.LoadText(text, "mem"));
    EXPECT_EQ(lvl.MaxSeconds, 420);
}

TEST_F(LevelFile, CellDescriptions)
{
    const std::string text = "level {\n data {\n  availableChips = \"1 2\"\n  size = 1, 4\n }\n"
                             " tile {\n  row0 = \"2|10 3 1|3 0 1\", \"1 0 99 0 0\", \"0 2 0 0 0\", \"1|2|3 1 0\"\n }\n}\n";
    TM3Level lvl;
    lvl.myM3Game = &G();
    ASSERT_TRUE(lvl.LoadText(text, "mem")) << lvl.error;
    const TM3Tile* a = lvl.GetTileByPosition(0, 0);
    EXPECT_EQ(a->td[0]->id, 2);
    EXPECT_EQ(a->td[1]->id, 10);
    EXPECT_EQ(a->chip->KindId(), 3);
    ASSERT_EQ(a->obstacles.size(), 2u);
    EXPECT_EQ(a->TopObstacle()->id, 3);
    EXPECT_EQ(a->locked, 1);
    const TM3Tile* b = lvl.GetTileByPosition(0, 1);
    EXPECT_FALSE(b->chip);
    EXPECT_FALSE(b->isObstacled()) << "an unknown obstacle is left out, not an unseen blocker";
    EXPECT_FALSE(lvl.isTileHere(0, 2)) << "kind 0 is a hole";
    EXPECT_FALSE(lvl.GetTileByPosition(0, 2)->chip) << "a hole holds no chip";
    const TM3Tile* d3 = lvl.GetTileByPosition(0, 3);
    EXPECT_EQ(d3->td[0]->id, 1);
    EXPECT_EQ(d3->td[1]->id, 2) << "a third cell kind is cut off";
    ASSERT_EQ(lvl.warnings.size(), 2u);
    EXPECT_NE(lvl.warnings[0].find("no obstacle kind 99"), std::string::npos) << lvl.warnings[0];
    EXPECT_NE(lvl.warnings[1].find("cell 0, 3"), std::string::npos) << lvl.warnings[1];
}

TEST_F(LevelFile, UnplayableLevelsAreRefusedWithTheirPath)
{
    TempDir dir;
    struct Case {
        const char* what;
        const char* text; // null: no file
        const char* says;
    } cases[] = {
        {"missing file", nullptr, "not found"},
        {"empty file", "", "empty"},
        {"no rows", "level {\n data {\n  availableChips = \"1\"\n  size = 0, 3\n }\n}\n", "size"},
        {"no kinds", "level {\n data {\n  availableChips = \"77\"\n  size = 1, 1\n }\n}\n", "availableChips"},
        {"characters", "level {\n data {\n  availableChips = \"1\"\n  size = 1, 1\n }\n characters {\n  i = 1\n }\n}\n",
         "characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File(std::to_string(&c - cases) + ".txt");
        if (c.text)
            Write(path, c.text);
        EXPECT_FALSE(d.LoadLevel(path));
        EXPECT_NE(d.Error().find(path), std::string::npos) << d.Error();
        EXPECT_NE(d.Error().find(c.says), std::string::npos) << d.Error();
    }
}

TEST_F(LevelFile, FramePiecesFollowThePlayingArea)
{
    using P = std::vector<int>;
    struct Case {
        const char* what;
        const char* picture;
        std::vector<std::pair<std::pair<int, int>, P>> cells;
    } cases[] = {
        {"1 x 1", ".", {{{0, 0}, P{9, 10, 13, 14, 16, 19, 20, 23}}}},
        {"1 x 2", ". .", {{{0, 0}, P{4, 6, 10, 16, 19, 23}}, {{0, 1}, P{0, 2, 9, 13, 14, 18, 20}}}},
        {"L", ". #\n. .",
         {{{0, 0}, P{7, 9, 16, 19, 20, 21}}, {{1, 0}, P{3, 6, 10, 23}}, {{1, 1}, P{2, 8, 9, 13, 14, 18, 20}}}},
        {"ring with a hole", ". . .\n. # .\n. . .",
         {{{0, 0}, P{4, 7, 16, 19}}, {{0, 1}, P{0, 4, 18, 22}}, {{1, 0}, P{3, 7, 17, 21}},
          {{1, 2}, P{1, 5, 11, 15}}, {{2, 1}, P{2, 6, 8, 12, 18}}, {{2, 2}, P{1, 2, 13, 14, 18}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.picture);
        for (const auto& [rc, pieces] : c.cells)
            EXPECT_EQ(T(rc.first, rc.second)->Frame, pieces) << rc.first << ", " << rc.second;
    }
    Load(". . .\n. # .\n. . .");
    EXPECT_TRUE(T(1, 1)->Frame.empty()) << "holes have no frame";
}

TEST_F(LevelFile, PicturesRoundTripThroughTheDump)
{
    const std::string picture = "1 2$1 .^ 3@4 #\n.! 4+10 5$2@1|3 101 .\n";
    Load(picture);
    EXPECT_EQ(d.Dump(), picture);
    TM3CellToken cell;
    std::string error;
    for (const char* bad : {"", "x", "1$", "1@", "1%", "1+"}) {
        EXPECT_FALSE(ParseCellToken(bad, cell, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    std::string text;
    EXPECT_FALSE(LevelTextFromPicture("1 2\n3", "1", 0, text, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(KindChecks, LoopingYoungerKindsAndCoinPayingOverlays)
{
    TempDir tmp;
    Write(tmp.File("tiles.txt"), R"(tiles {
	i = 5
	tile1 {
		id = 1
	}
	tile2 {
		id = 2
		YoungerTile = 1
	}
	tile3 {
		id = 5
		YoungerTile = 6
	}
	tile4 {
		id = 6
		YoungerTile = 5
	}
	tile5 {
		id = 7
		YoungerTile = 7
	}
}
)");
    TM3Game g;
    g.quiet = true;
    ASSERT_TRUE(g.LoadM3Tiles(tmp.File("tiles.txt"), 0, 1));
    g.chipsList.push_back(std::make_shared<TM3ChipData>());
    g.chipsList.back()->id = 1;
    const auto loops = FindLoopingTileKinds(g);
    ASSERT_EQ(loops.size(), 2u);
    EXPECT_NE(loops[0].find("5 -> 6 -> 5"), std::string::npos) << loops[0];
    EXPECT_NE(loops[1].find("7 -> 7"), std::string::npos) << loops[1];

    std::string text;
    ASSERT_TRUE(LevelTextFromPicture(". .+2 .+2\n.+1 . .", "1", 0, text, nullptr));
    TM3Level lvl;
    lvl.myM3Game = &g;
    ASSERT_TRUE(lvl.LoadText(text, "mem")) << lvl.error;
    const auto overlays = FindOverlayKindsWithYounger(lvl);
    ASSERT_EQ(overlays.size(), 1u);
    EXPECT_NE(overlays[0].find("overlay cell kind 2 (cell 0, 1)"), std::string::npos) << overlays[0];
}

// Mistakes in a level file play with a sound default and are reported with
// the file and the entry, never a level lost at once or a board with holes
// nobody drew.
TEST_F(LevelFile, MistakesPlayWithSoundDefaultsAndNameTheEntry)
{
    const std::string base = "level {\n data {\n  availableChips = \"1 2 3 4 5 6\"\n  size = 2, 3\n"
                             "  seconds = 90\n  score = 5\n }\n tile {\n"
                             "  row0 = \"1 1 0 0 0\", \"2 2 0 0 0\", \"0 0 0 0 0\"\n"
                             "  row1 = \"1 3 0 0 0\", \"1 4 0 0 0\", \"1 5 0 0 0\"\n }\n"
                             " creators {\n  i = 2\n  c1 = 0, 0\n  c2 = 0, 1\n }\n}\n";
    struct Case {
        const char* what;
        const char* from;
        const char* to;
        const char* key; // the entry the report names
        std::function<void(const TM3Level&)> plays;
    } cases[] = {
        {"negative seconds", "seconds = 90", "seconds = -5", "level::data::seconds",
         [](const TM3Level& l) { EXPECT_EQ(l.MaxSeconds, 420); }},
        {"negative score", "score = 5", "score = -3", "level::data::score",
         [](const TM3Level& l) { EXPECT_EQ(l.Score, 0); }},
        {"unknown floor", "\"2 2 0 0 0\"", "\"9 2 0 0 0\"", "level::tile::row0",
         [](const TM3Level& l) {
             ASSERT_TRUE(l.isTileHere(0, 1)) << "no hole where the author drew a cell";
             EXPECT_EQ(l.GetTileByPosition(0, 1)->td[0]->id, 1);
             EXPECT_EQ(l.GetTileByPosition(0, 1)->chip->KindId(), 2);
         }},
        {"unknown overlay", "\"2 2 0 0 0\"", "\"2|8 2 0 0 0\"", "level::tile::row0",
         [](const TM3Level& l) {
             EXPECT_EQ(l.GetTileByPosition(0, 1)->td[0]->id, 2);
             EXPECT_FALSE(l.GetTileByPosition(0, 1)->td[1]);
         }},
        {"unknown chip", "\"2 2 0 0 0\"", "\"2 77 0 0 0\"", "level::tile::row0",
         [](const TM3Level& l) { EXPECT_FALSE(l.GetTileByPosition(0, 1)->chip); }},
        {"unknown obstacle", "\"2 2 0 0 0\"", "\"2 2 1|9 0 0\"", "level::tile::row0",
         [](const TM3Level& l) {
             ASSERT_EQ(l.GetTileByPosition(0, 1)->obstacles.size(), 1u);
             EXPECT_EQ(l.GetTileByPosition(0, 1)->TopObstacle()->id, 1);
         }},
        {"size with a row too many", "size = 2, 3", "size = 3, 3", "level::data::size",
         [](const TM3Level& l) { EXPECT_EQ(l.rows, 2); }},
        {"size with a column too few", "size = 2, 3", "size = 2, 2", "level::data::size",
         [](const TM3Level& l) { EXPECT_TRUE(l.isTileHere(1, 2)) << "the third column as written"; }},
        {"a short last row", "\"1 3 0 0 0\", \"1 4 0 0 0\", \"1 5 0 0 0\"", "\"1 3 0 0 0\", \"1 4 0 0 0\"",
         "level::tile::row1",
         [](const TM3Level& l) {
             EXPECT_EQ(l.cols, 3) << "the longest row decides the width";
             EXPECT_TRUE(l.isTileHere(1, 1));
             EXPECT_FALSE(l.isTileHere(1, 2));
         }},
        {"creator count short", "i = 2", "i = 1", "level::creators::i",
         [](const TM3Level& l) { EXPECT_EQ(l.GetTileByPosition(0, 1)->isCreator, 1); }},
        {"creator on a hole", "c2 = 0, 1", "c2 = 0, 2", "level::creators::c2",
         [](const TM3Level& l) { EXPECT_EQ(l.GetTileByPosition(0, 2)->isCreator, 0); }},
        {"power chip in play", "\"1 2 3 4 5 6\"", "\"1 2 3 4 5 6 101\"", "level::data::availableChips",
         [](const TM3Level& l) { EXPECT_EQ(l.GetAvailablesString(), "1 2 3 4 5 6"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = base;
        ASSERT_NE(text.find(c.from), std::string::npos);
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        std::vector<DataIssue> issues;
        TM3Level lvl;
        lvl.myM3Game = &G();
        {
            DataIssueCollector collect([&issues](const DataIssue& i) { issues.push_back(i); });
            ASSERT_TRUE(lvl.LoadText(text, "mem.txt")) << lvl.error;
        }
        std::string all;
        for (const DataIssue& i : issues)
            all += i.key + ": " + i.message + "\n";
        ASSERT_EQ(issues.size(), 1u) << all;
        EXPECT_EQ(issues[0].file, "mem.txt");
        EXPECT_EQ(issues[0].key, c.key) << issues[0].message;
        c.plays(lvl);
    }
    // The unbroken level reports nothing.
    std::vector<DataIssue> issues;
    TM3Level lvl;
    lvl.myM3Game = &G();
    DataIssueCollector collect([&issues](const DataIssue& i) { issues.push_back(i); });
    ASSERT_TRUE(lvl.LoadText(base, "mem.txt"));
    EXPECT_TRUE(issues.empty()) << issues.front().key << ": " << issues.front().message;
}

// Engine settings that would freeze or hide the board fall back to usual values.
TEST(EngineData, SettingsOutOfRangeFallBackAndNameTheEntry)
{
    TempDir tmp;
    const std::string path = tmp.File("settings.txt");
    Write(path, "settings {\n\tsize = 0, 72\n\tspeedChip = -2\n\tspeedFallChip = 8\n\tspeedFallAcc = 0.5\n"
                "\tspeedLandAcc = 1\n\tmatchType = 5\n\tMinMove = 10, 10\n}\n");
    std::vector<DataIssue> issues;
    TM3Game g;
    {
        DataIssueCollector collect([&issues](const DataIssue& i) { issues.push_back(i); });
        ASSERT_TRUE(g.LoadM3Settings(path));
    }
    EXPECT_EQ(g.tileW, 72);
    EXPECT_EQ(g.speedChip, 6);
    EXPECT_EQ(g.speedFallChip, 8) << "a good value is kept";
    EXPECT_EQ(g.MatchType, 0);
    std::vector<std::string> keys;
    for (const DataIssue& i : issues)
        keys.push_back(i.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"settings::size", "settings::speedChip", "settings::matchType"}));
}
