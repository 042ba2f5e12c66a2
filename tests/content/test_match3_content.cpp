// The shipped match-three content: the engine data of Game/ and the 95 level
// files of the progression. These checks guard what the engine relies on and
// what a broken regeneration or a hand edit would silently spoil: coin chains,
// the fixed ids, pictures that exist, boards that fit the screen, refill that
// reaches every cell, and starting boards without a ready-made line.
// (Winnability within each level's time is checked by velmora-autoplay.)
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/platform/core/files.h"
#include "datafiles/rcmfile.h"
#include "match3/m3driver.h"

namespace {

constexpr const char* kGame = "Game/";
constexpr int kStageLength[5] = {13, 19, 20, 21, 22};

TEST(Match3Content, EngineDataKeepsTheFixedKindsAndCoinChains)
{
    match3::TM3Driver d;
    ASSERT_TRUE(d.LoadEngine(kGame)) << d.Error();
    match3::TM3Game& g = d.Game();
    EXPECT_EQ(g.tileW, 72);
    EXPECT_EQ(g.tileH, 72);

    // Kind n carries n - 1 coins and crumbles one coin at a time down to kind 1.
    for (int id = 1; id <= 3; ++id) {
        SCOPED_TRACE("cell kind " + std::to_string(id));
        const match3::TM3TileData* k = g.GetTileDataById(id).get();
        ASSERT_NE(k, nullptr);
        int steps = 0;
        for (const auto* t = k; t->younger; t = t->younger)
            ++steps;
        EXPECT_EQ(steps, id - 1);
        EXPECT_EQ(k->youngerId, id - 1);
    }
    // Every other cell kind is an overlay that one match clears: it has no
    // younger kind, so it never releases a coin the board did not count.
    for (const auto& k : g.tilesList) {
        if (k->id > 3) {
            EXPECT_EQ(k->youngerId, 0) << "overlay kind " << k->id;
        }
    }

    std::set<int> ordinary;
    for (const auto& c : g.chipsList)
        if (c->id <= 100)
            ordinary.insert(c->id);
    EXPECT_GE(ordinary.size(), 8u);
    for (int power : {101, 102, 103})
        EXPECT_NE(g.GetChipDataById(power), nullptr) << "power kind " << power;

    // Obstacles: 1 chain, 2 double chain (breaks into a chain), 3 chest.
    const auto* chain = g.GetObstacleById(1);
    const auto* twice = g.GetObstacleById(2);
    const auto* chest = g.GetObstacleById(3);
    ASSERT_TRUE(chain && twice && chest);
    EXPECT_EQ(twice->LowerObstacle, chain);
    EXPECT_EQ(chain->LowerObstacle, nullptr);
    EXPECT_EQ(chain->isNonMatch, 0); // a chained piece matches and breaks its chain
    EXPECT_EQ(chest->Typ, match3::kObstacleChest);
    EXPECT_EQ(chest->isNonMatch, 1);
}

TEST(Match3Content, EveryPictureNamedByTheEngineDataExists)
{
    const struct {
        const char* file;
        const char* group;
        const char* item;
    } files[] = {{"tiles.txt", "tiles", "tile"}, {"chips.txt", "chips", "chip"}, {"obstacles.txt", "obstacles", "obst"}};
    for (const auto& f : files) {
        TRCMFile cat;
        cat.Load(std::string(kGame) + "Data/Match3Engine/" + f.file);
        const int n = static_cast<int>(cat.getFloat(std::string(f.group) + "::i", 0, 0));
        EXPECT_GT(n, 0) << f.file;
        for (int k = 1; k <= n; ++k) {
            std::string path = cat.getString(std::string(f.group) + "::" + f.item + std::to_string(k) + "::gfx", 0);
            ASSERT_EQ(path.rfind("[BDIR]", 0), 0u) << f.file << " entry " << k << ": " << path;
            path = std::string(kGame) + path.substr(6);
            EXPECT_TRUE(platform::FileExists(path)) << f.file << " entry " << k << ": " << path;
        }
    }
}

TEST(Match3Content, EveryLevelOfTheProgressionIsAPlayableBoard)
{
    match3::TM3Driver d;
    ASSERT_TRUE(d.LoadEngine(kGame)) << d.Error();
    for (int s = 1; s <= 5; ++s)
        for (int l = 1; l <= kStageLength[s - 1]; ++l) {
            const std::string name = "stage-" + std::to_string(s) + "/Level-" + std::to_string(l);
            SCOPED_TRACE(name);
            ASSERT_TRUE(d.LoadLevel(kGame, s, l)) << d.Error();
            const match3::TM3Level& lv = *d.Level();
            // The board fits the play area beside the panels.
            EXPECT_TRUE(lv.rows >= 4 && lv.rows <= 9 && lv.cols >= 4 && lv.cols <= 9) << lv.rows << " x " << lv.cols;
            // Six power-ups need six ordinary kinds, each listed once.
            std::set<int> kinds;
            for (const auto& k : lv.availableChips) {
                EXPECT_LE(k->id, 100);
                kinds.insert(k->id);
            }
            EXPECT_GE(kinds.size(), 6u);
            EXPECT_EQ(kinds.size(), lv.availableChips.size());
            EXPECT_GT(lv.TotalCoins, 0);
            EXPECT_GT(lv.MaxSeconds, 0);

            for (int r = 0; r < lv.rows; ++r)
                for (int c = 0; c < lv.cols; ++c) {
                    const match3::TM3Tile* t = lv.tile[r][c].get();
                    if (!t->td[0])
                        continue;
                    SCOPED_TRACE("cell " + std::to_string(r) + ", " + std::to_string(c));
                    // Refill reaches every cell: the top of its column segment creates.
                    int top = r;
                    while (top > 0 && lv.tile[top - 1][c]->td[0])
                        --top;
                    EXPECT_TRUE(lv.tile[top][c]->isCreator);
                    // A creator under an obstacle would stop its whole column.
                    if (t->isCreator) {
                        EXPECT_TRUE(t->obstacles.empty());
                    }
                    // Starting pieces: ordinary kinds of the level and no line of three.
                    const int k = d.KindAt(r, c);
                    EXPECT_TRUE(kinds.count(k)) << "piece " << k;
                    EXPECT_FALSE(k == d.KindAt(r, c + 1) && k == d.KindAt(r, c + 2)) << "line across";
                    EXPECT_FALSE(k == d.KindAt(r + 1, c) && k == d.KindAt(r + 2, c)) << "line down";
                }
        }
}

} // namespace
