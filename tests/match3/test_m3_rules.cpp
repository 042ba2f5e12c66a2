// Board rules that only show over a whole swap or several matches: the power
// chip each match shape makes, slides beside creators, the reshuffle beside
// stacked obstacles, coins under several layers and the board size limit.
#include <algorithm>
#include <string>
#include <vector>

#include "m3_support.h"
#include "match3/m3finder.h"

using namespace match3;
using m3test::Board;

namespace {

// A 6 x 8 board of fillers (kinds 2..6, no line anywhere) with a shape of
// kind 1 around the origin (4, 3): `up` cells above it, `left` and `right`
// cells beside it. The origin holds a filler; the 1 that completes the shape
// waits below it at (5, 3).
std::string ShapeBoard(int up, int left, int right)
{
    std::string pic;
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 8; ++c) {
            int kind = (r + 2 * c) % 5 + 2;
            const bool inShape = (c == 3 && r < 4 && r >= 4 - up) ||
                                 (r == 4 && c < 3 && c >= 3 - left) ||
                                 (r == 4 && c > 3 && c <= 3 + right) || (r == 5 && c == 3);
            if (inShape)
                kind = 1;
            pic += (c ? " " : "") + std::to_string(kind);
        }
        pic += "\n";
    }
    return pic;
}

std::vector<int> PowerChipsOnBoard(TM3Driver& d)
{
    std::vector<int> kinds;
    for (int r = 0; r < d.Rows(); ++r)
        for (int c = 0; c < d.Cols(); ++c)
            if (d.KindAt(r, c) > 100)
                kinds.push_back(d.KindAt(r, c));
    return kinds;
}

} // namespace

class PowerChip : public Board {};

TEST_F(PowerChip, EachMatchShapeAndSizeMakesItsKind)
{
    struct Case {
        const char* what;
        int up, left, right;
        size_t size;
        int power; // 0: the line is destroyed, no power chip
    } cases[] = {
        {"line of three", 0, 1, 1, 3, 0},
        {"line of four", 0, 1, 2, 4, 0},
        {"line of five", 0, 2, 2, 5, kChipCross},
        {"L of five", 2, 0, 2, 5, kChipCross},
        {"line of six", 0, 2, 3, 6, kChipLightning},
        {"T of six", 2, 1, 2, 6, kChipLightning},
        {"T of seven", 2, 2, 2, 7, kChipBomb},
        {"L of seven", 2, 0, 4, 7, kChipBomb},
        {"T of eight", 3, 2, 2, 8, kChipCross},
        {"T of nine", 4, 2, 2, 9, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(ShapeBoard(c.up, c.left, c.right));
        TM3Tile* origin = T(4, 3);
        ASSERT_EQ(SwapMatchFinder::FindMatches(&G(), origin).size(), 0u);
        ASSERT_TRUE(d.Move({5, 3, 4, 3}));
        while (!G().pairsList.empty())
            d.Step();
        // The swap's own check has run: the shape through the origin is
        // either gathered into a morphing power chip or destroyed.
        ASSERT_TRUE(origin->chip);
        if (c.power) {
            ASSERT_TRUE(origin->chip->NextCD) << "no power chip is forming";
            EXPECT_EQ(origin->chip->NextCD->id, c.power);
            EXPECT_EQ(G().fantomsList.size(), c.size - 1);
        } else {
            EXPECT_FALSE(origin->chip->NextCD);
            EXPECT_TRUE(origin->chip->isDestroyed());
            EXPECT_TRUE(G().fantomsList.empty());
        }
        ASSERT_GE(d.RunUntilSettled(), 0);
        EXPECT_EQ(PowerChipsOnBoard(d), c.power ? std::vector<int>{c.power} : std::vector<int>{});
    }
}

class SideFall : public Board {};

TEST_F(SideFall, NoSlideIntoAColumnSomethingWillComeDown)
{
    // The chip at (r, 0) stands on a locked cell; it may slide right only if
    // nothing above the target cell will fall into it. Judged on the board
    // as loaded, before any frame: a creator is still empty then, and is
    // about to fill the column all the same.
    struct Case {
        const char* what;
        const char* board;
        int r;
        bool slides;
    } cases[] = {
        {"an empty creator above the target", "1 .^\n.! .", 0, false},
        {"an empty creator two cells up", "# .^\n1 .\n.! .", 1, false},
        {"a chip above the target", "1 2\n.! .", 0, false},
        {"empty floor above the target", "1 .\n.! .", 0, true},
        {"a hole above the target", "# #\n1 .\n.! .", 1, true},
        {"a locked cell above the target", "1 .!\n.! .", 0, true},
        {"an obstacle above the target stops the creator", "# .^\n1 .@1\n.! .", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.board, "2");
        G().SetSideFallAvailable(1);
        TM3Chip* chip = T(c.r, 0)->GetMyChip();
        ASSERT_TRUE(chip && chip->isFree());
        EXPECT_EQ(G().isChipAvailableToFallRight(chip), c.slides);
    }
}

TEST_F(SideFall, CreatorFillsItsOwnColumnBesideABlockedChip)
{
    Load("1 .^\n.! .", "2");
    G().SetSideFallAvailable(1);
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), "1 2^\n.! 2\n") << "the chip stays; the creator's chips take the column";
}

class StackedObstacles : public Board {};

TEST_F(StackedObstacles, ReshuffleLeavesEveryCellWithTwoObstacles)
{
    // Only a free cell or a cell with one obstacle of the shuffling kind (1)
    // takes a new kind. Two obstacles keep the chip whatever their kinds:
    // shuffling kind below, on top, or both.
    Load("1 1 2 2 3\n"
         "2@1|2 3 1@2|1 4 2@1|1\n"
         "3 3@1 1 2 5\n"
         "4 5 6@2 1 1");
    platform::Random copy = G().rules;
    const auto arrangement = M3ChipRandomizer::RandomizeArray(4, 5, "1 2 3 4 5 6", copy);
    const std::vector<std::pair<int, int>> kept = {{1, 0}, {1, 2}, {1, 4}, {3, 2}};
    std::vector<std::vector<int>> before(4, std::vector<int>(5));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c)
            before[static_cast<size_t>(r)][static_cast<size_t>(c)] = d.KindAt(r, c);
    G().ReshuffleNow();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) {
            const bool keeps = std::find(kept.begin(), kept.end(), std::make_pair(r, c)) != kept.end();
            const auto& from = keeps ? before : arrangement;
            EXPECT_EQ(d.KindAt(r, c), from[static_cast<size_t>(r)][static_cast<size_t>(c)])
                << r << ", " << c << (keeps ? " keeps its chip" : " takes the new kind");
        }
    EXPECT_EQ(T(1, 0)->obstacles.size(), 2u);
    EXPECT_EQ(T(1, 4)->obstacles.size(), 2u);
}

class Coins : public Board {};

TEST_F(Coins, SeveralLayersOfOneCellPayOneCoinAMatch)
{
    // Each row: the cell, the coins it holds, then its token after each match
    // and the coins paid so far.
    struct Case {
        const char* what;
        const char* cell;
        int coins;
        std::vector<std::string> tokens;
        std::vector<int> cash;
    } cases[] = {
        {"three coins", ".$3", 3, {".$2", ".$1", ".", "."}, {1, 2, 3, 3}},
        {"two coins under a cover", ".$2+10", 2, {".$2", ".$1", ".", "."}, {0, 1, 2, 2}},
        {"three coins under a cover", ".$3+10", 3, {".$3", ".$2", ".$1", ".", "."}, {0, 1, 2, 3, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(std::string(c.cell) + " .$1");
        EXPECT_EQ(d.Level()->TotalCoins, c.coins + 1);
        EXPECT_EQ(d.CoinsLeft(), c.coins + 1);
        d.Step();
        EXPECT_GT(G().UnclearedTiles, 0);
        for (size_t k = 0; k < c.tokens.size(); ++k) {
            T(0, 0)->MatchAtMe();
            d.Step();
            EXPECT_EQ(d.Dump(), c.tokens[k] + " .$1\n") << "match " << k + 1;
            EXPECT_EQ(d.Level()->Cash, c.cash[k]) << "match " << k + 1;
            EXPECT_EQ(d.CoinsLeft(), c.coins - c.cash[k] + 1) << "match " << k + 1;
        }
        T(0, 1)->MatchAtMe();
        d.Step();
        EXPECT_EQ(d.CoinsLeft(), 0);
        EXPECT_EQ(G().UnclearedTiles, 0);
        EXPECT_EQ(d.Level()->Cash, c.coins + 1) << "every coin on the board was paid once";
    }
}

class BoardSize : public Board {};

TEST_F(BoardSize, SidesUpToTheLimitLoadAndLongerOnesAreRefused)
{
    auto picture = [](int rows, int cols) {
        std::string pic;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c)
                pic += c ? " ." : ".";
            pic += "\n";
        }
        return pic;
    };
    struct Case {
        int rows, cols;
        bool loads;
    } cases[] = {{1, 64, true}, {64, 1, true}, {64, 64, true}, {1, 65, false}, {65, 1, false}, {2, 1000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.cols));
        const bool ok = d.LoadPicture(tmp.Str(), picture(c.rows, c.cols), "1 2");
        EXPECT_EQ(ok, c.loads) << d.Error();
        if (c.loads) {
            EXPECT_EQ(d.Rows(), c.rows);
            EXPECT_EQ(d.Cols(), c.cols);
        } else {
            EXPECT_NE(d.Error().find("size"), std::string::npos) << d.Error();
        }
    }
}
