// Gravity, refill, crumbling layers, obstacles, swaps, power chips and the
// board faults that must never come back.
#include <unistd.h>

#include <algorithm>

#include "m3_support.h"
#include "match3/m3finder.h"

using namespace match3;
using m3test::Board;

class Gravity : public Board {};

TEST_F(Gravity, BoardsSettleAsExpected)
{
    struct Case {
        const char* what;
        int sideFall;
        const char* before;
        const char* after;
    } cases[] = {
        {"chips fall into empty cells below", 0,
         "1 .\n2 .\n. 3", ". .\n1 .\n2 3\n"},
        {"a hole stops the column", 0,
         "1\n#\n.", "1\n#\n.\n"},
        {"a locked cell receives nothing", 0,
         "1\n.!", "1\n.!\n"},
        {"a chip under an obstacle never falls", 0,
         "1@1\n.", "1@1\n.\n"},
        {"an empty obstacled cell takes no chip from above", 0,
         "1\n.@1\n.", "1\n.@1\n.\n"},
        {"side falls on: no slide into an obstacled cell", 1,
         "1 .\n.! .@1", "1 .\n.! .@1\n"},
        {"side falls off: the chip above a locked cell stays", 0,
         "1 .\n.! .", "1 .\n.! .\n"},
        {"side falls on: the chip slides past the locked cell", 1,
         "1 .\n.! .", ". .\n.! 1\n"},
        {"side falls on: no slide where a chip above will come down", 1,
         "1 2\n.! .", "1 .\n.! 2\n"},
        {"side falls on: a slide around a hole", 1,
         "# 3 #\n# 1 #\n. # .!", "# . #\n# 3 #\n1 # .!\n"},
        {"a landing line of five is destroyed and makes no power chip", 0,
         "2 3 1 4 5\n3 4 . 5 2\n1 1 . 1 1",
         ". . . . .\n2 3 . 4 5\n3 4 . 5 2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.before);
        G().SetSideFallAvailable(c.sideFall);
        ASSERT_GE(d.RunUntilSettled(2000), 0);
        EXPECT_EQ(d.Dump(), c.after);
    }
}

TEST_F(Gravity, ColumnStartsOneChipPerFrameAndFallsWithoutStopping)
{
    Load("1\n2\n3\n.\n.");
    d.Step();
    EXPECT_EQ(d.Dump(), "1\n2\n.\n3\n.\n") << "the lowest chip starts first";
    d.Step();
    EXPECT_EQ(d.Dump(), "1\n.\n2\n3\n.\n");
    d.Step();
    EXPECT_EQ(d.Dump(), ".\n1\n2\n3\n.\n");
    TM3Chip* lowest = T(3, 0)->GetMyChip();
    ASSERT_TRUE(lowest);
    int frames = 0;
    while (lowest->myTile != T(4, 0) || lowest->isFalling()) {
        ASSERT_TRUE(lowest->isFalling()) << "stopped between cells after " << frames << " frames";
        d.Step();
        ASSERT_LT(++frames, 200);
    }
    EXPECT_EQ(lowest->state, kChipLanding);
    EXPECT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), ".\n.\n1\n2\n3\n");
}

TEST_F(Gravity, CreatorsRefillFromTheKindsInPlay)
{
    Load(".^\n.\n.\n#", "2 5");
    EXPECT_GE(d.RunUntilSettled(), 0);
    for (int r = 0; r < 3; ++r) {
        const int k = d.KindAt(r, 0);
        EXPECT_TRUE(k == 2 || k == 5) << r << ": " << k;
    }
    EXPECT_EQ(d.KindAt(3, 0), 0);
    // A fresh chip starts one cell above its creator and fades in.
    Load(".^ 1");
    d.Step();
    TM3Chip* fresh = T(0, 0)->GetMyChip();
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(fresh->isFalling());
    EXPECT_LT(fresh->ady, 0);
    EXPECT_LT(fresh->alpha, 1);
    // Under an obstacle the fresh chip fades in where it is and stays there.
    Load(".^@1\n.", "4");
    d.Step();
    fresh = T(0, 0)->GetMyChip();
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(fresh->isFalling());
    EXPECT_EQ(fresh->ady, 0);
    EXPECT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), "4^@1\n.\n");
}

TEST_F(Gravity, SameSeedsSameGame)
{
    const char* picture = ".^ .^ .^ .^\n. . . .\n. . . .\n. . . .";
    std::string dumps[2];
    for (auto& dump : dumps) {
        TM3Driver run(99, 5);
        ASSERT_TRUE(run.LoadEngine(m3test::kEngineDir));
        ASSERT_TRUE(run.LoadPicture(tmp.Str(), picture, "1 2 3 4"));
        run.RunUntilSettled();
        for (int k = 0; k < 3; ++k) {
            auto moves = run.Moves();
            if (moves.empty())
                break;
            run.Move(moves.front());
            run.RunUntilSettled();
        }
        dump = run.Dump();
    }
    EXPECT_EQ(dumps[0], dumps[1]);
}

class Layers : public Board {};

TEST_F(Layers, MatchesCrumbleOneLayerAtATime)
{
    struct Case {
        const char* what;
        const char* cell;
        std::vector<std::string> afterEachMatch; // the cell's token (no chip)
        std::vector<int> cash;
    } cases[] = {
        {"coins 3 -> 2 -> 1, then nothing", ".$2", {".$1", ".", "."}, {1, 2, 2}},
        {"a cover goes first and pays nothing", ".$1+10", {".$1", ".", "."}, {0, 1, 1}},
        {"a plain floor stays", ".", {".", "."}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.cell);
        for (size_t k = 0; k < c.afterEachMatch.size(); ++k) {
            T(0, 0)->MatchAtMe();
            EXPECT_EQ(d.Dump(), c.afterEachMatch[k] + "\n") << "match " << k + 1;
            EXPECT_EQ(d.Level()->Cash, c.cash[k]) << "match " << k + 1;
        }
    }
}

TEST_F(Layers, SwapCollectsTheCoinUnderTheLine)
{
    Load("1$1 1 2 1\n3 4 1 5");
    EXPECT_EQ(d.Level()->TotalCoins, 1);
    EXPECT_EQ(d.CoinsLeft(), 1);
    ASSERT_TRUE(d.Move({1, 2, 0, 2}));
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), ". . . .\n3 4 2 5\n");
    EXPECT_EQ(d.Level()->Cash, 1);
    EXPECT_EQ(d.CoinsLeft(), 0);
    EXPECT_EQ(G().UnclearedTiles, 0);
    EXPECT_EQ(d.Level()->Score, 40);
}

TEST_F(Layers, ObstaclesTakeTheHitOneAtATime)
{
    // Obstacle 2 sits on obstacle 1 (its lower kind): each destroy attempt
    // removes one, reporting the removed kind's Typ, and the chip survives
    // until the cell is clear.
    Load("1$1@2 3");
    TM3Chip* chip = T(0, 0)->GetMyChip();
    struct Step {
        const char* token;
        int typ;
    } steps[] = {{"1$1@1", 5}, {"1$1", 1}, {".", 0}};
    for (const auto& st : steps) {
        G().ResetEvents();
        G().MatchTilesList({T(0, 0)});
        EXPECT_EQ(G().M3EVENT_ObstacleRemove, st.typ);
        d.Step();
        EXPECT_EQ(d.Dump(), std::string(st.token) + " 3\n");
    }
    EXPECT_EQ(chip->myTile, nullptr);
    EXPECT_EQ(d.Level()->Cash, 1);
}

TEST_F(Layers, ChestBesideAMatchOpensAndIsCheckedAtOnce)
{
    Load("1 1 1\n2@3 2 2\n4 5 6");
    G().MatchTilesList(SwapMatchFinder::FindMatches(&G(), T(0, 0)));
    EXPECT_TRUE(T(1, 0)->obstacles.empty()) << "the chest opened";
    EXPECT_TRUE(T(1, 0)->GetMyChip()->isDestroyed()) << "its line was matched at once";
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), ". . .\n. . .\n4 5 6\n");
}

TEST_F(Layers, ChestsOpenOnTheFourSidesOfAMatchedCellOnly)
{
    // Every neighbour of the centre holds a chest; no line anywhere.
    Load("1@3 2@3 3@3\n"
         "4@3 5 6@3\n"
         "2@3 3@3 1@3");
    T(1, 1)->MatchAtMe();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            if (r == 1 && c == 1)
                continue;
            const bool side = r == 1 || c == 1;
            EXPECT_EQ(T(r, c)->obstacles.empty(), side) << r << ", " << c << (side ? " stays shut" : " opened");
        }
}

class Swap : public Board {};

TEST_F(Swap, PairReachesTheCheckAfterTwentyOneUpdates)
{
    Load("1 2 1 1\n3 4 5 6");
    ASSERT_TRUE(G().SwapTiles(T(0, 1), T(0, 0)));
    TM3Chip* moved = T(0, 1)->GetMyChip();
    for (int k = 1; k <= 20; ++k) {
        d.Step();
        ASSERT_EQ(G().pairsList.size(), 1u) << k;
        EXPECT_EQ(T(0, 1)->GetMyChip(), moved) << "cells exchange only at the check";
    }
    EXPECT_EQ(G().pairsList[0]->per, 1.0f);
    d.Step();
    EXPECT_TRUE(G().pairsList.empty());
    EXPECT_EQ(moved->myTile, T(0, 0));
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), "2 . . .\n3 4 5 6\n");
}

TEST_F(Swap, SwapWithoutMatchGoesBackTheSameWay)
{
    Load("1 2 3\n4 5 6");
    const std::string before = d.Dump();
    ASSERT_TRUE(d.Move({0, 0, 0, 1}));
    int updates = 0;
    while (!G().pairsList.empty()) {
        d.Step();
        ASSERT_LT(++updates, 100);
    }
    EXPECT_EQ(updates, 42) << "21 out to the check, 21 back";
    EXPECT_EQ(d.Dump(), before);
    EXPECT_TRUE(T(0, 0)->GetMyChip()->isFree());
    EXPECT_TRUE(T(0, 1)->GetMyChip()->isFree());
}

TEST_F(Swap, TwoPairsRunAtOnce)
{
    Load("1 2 3 4\n5 6 1 2");
    EXPECT_TRUE(G().SwapTiles(T(0, 0), T(0, 1)));
    EXPECT_TRUE(G().SwapTiles(T(1, 2), T(1, 3)));
    EXPECT_FALSE(G().SwapTiles(T(0, 1), T(0, 2))) << "a chip already in a pair";
    EXPECT_EQ(G().pairsList.size(), 2u);
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), "1 2 3 4\n5 6 1 2\n");
}

TEST_F(Swap, MorphIntoAnotherKindTakesItsFrames)
{
    Load("1 2");
    TM3Chip* chip = T(0, 0)->GetMyChip();
    chip->ChangeInto(G().GetChipDataById(3));
    // 51 steps of 0.02 in single precision reach 1; the kind changes in the
    // update after that.
    for (int k = 1; k <= 51; ++k) {
        d.Step();
        EXPECT_EQ(chip->KindId(), 1) << k;
        EXPECT_FALSE(d.IsSettled());
    }
    EXPECT_EQ(chip->ChangePer, 1.0f);
    d.Step();
    EXPECT_EQ(chip->KindId(), 3);
    EXPECT_TRUE(chip->isFree());
}

TEST_F(Swap, LineOfFiveMakesACrossChipAndSixALightningChip)
{
    struct Case {
        const char* what;
        const char* before;
        TM3Move move;
        const char* after;
    } cases[] = {
        {"five", "1 1 2 1 1\n3 4 1 5 6", {1, 2, 0, 2}, ". . 101 . .\n3 4 2 5 6\n"},
        {"six", "1 1 2 1 1 1\n3 4 1 5 6 3", {1, 2, 0, 2}, ". . 102 . . .\n3 4 2 5 6 3\n"},
        {"L of five", "2 3 1\n4 5 1\n1 1 2\n3 4 1", {3, 2, 2, 2}, ". . .\n2 3 .\n4 5 101\n3 4 2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.before);
        ASSERT_TRUE(d.Move(c.move));
        ASSERT_GE(d.RunUntilSettled(), 0);
        EXPECT_EQ(d.Dump(), c.after);
        EXPECT_EQ(d.Level()->Score, 0) << "swallowed chips score nothing";
        EXPECT_TRUE(G().fantomsList.empty());
    }
}

TEST_F(Swap, LargeLinesBreakObstaclesInsteadOfGatheringTheirChips)
{
    // A chip under an obstacle stays in its cell when its line makes a power
    // chip: the obstacle takes the hit, as in any match. Gathering it used to
    // leave the obstacle on an empty cell, and the new power chip then fell
    // into that cell, where nothing could pick, swap or match it again.
    struct Case {
        const char* what;
        const char* before;
        TM3Move move;
        const char* after;
    } cases[] = {
        {"L of five through a chain: the chip stays, falls on once free, the cross follows",
         "1 2 1 1\n3 1@1 4 5\n4 1 5 6\n5 6 3 4", {0, 0, 0, 1},
         "2 . . .\n3 101 4 5\n4 1 5 6\n5 6 3 4\n"},
        {"line of five through a double chain: one layer goes, the coin under it stays",
         "1 1$1@2 2 1 1\n3 4 1 5 6", {1, 2, 0, 2}, ". 1$1@1 101 . .\n3 4 2 5 6\n"},
        {"line of six with a chain at its end", "1 1 2 1 1 1@1\n3 4 1 5 6 3", {1, 2, 0, 2},
         ". . 102 . . 1\n3 4 2 5 6 3\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.before);
        ASSERT_TRUE(d.Move(c.move));
        ASSERT_GE(d.RunUntilSettled(), 0);
        EXPECT_EQ(d.Dump(), c.after);
        EXPECT_EQ(d.Level()->Cash, 0);
    }
    // Made under an obstacle, a power chip could never fire: such a line is
    // matched as an ordinary one.
    Load("1@1 1 1 1 1\n2 3 4 5 6");
    G().CreateBoardPowerUp(T(0, 0), SwapMatchFinder::FindMatches(&G(), T(0, 0)));
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), "1 . . . .\n2 3 4 5 6\n");
}

TEST_F(Swap, PickingAPowerChipFiresIt)
{
    Load("2 3 4\n5 101 6\n1 2 3");
    ASSERT_TRUE(d.Click(1, 1));
    ASSERT_GE(d.RunUntilSettled(), 0);
    // The cross clears its four neighbours; the corners fall into place.
    EXPECT_EQ(d.Dump(), ". . .\n2 . 4\n1 . 3\n");
}

class Faults : public Board {};

TEST_F(Faults, ChipDestroyedInASwapNeverComesBack)
{
    // Chip 2 is destroyed while it moves; chip 3 falls into its cell. The swap
    // ends without exchanging: chip 1 stays home, chip 3 is not overwritten.
    Load(". 3 .\n1 2 .");
    ASSERT_TRUE(G().SwapTiles(T(1, 0), T(1, 1)));
    TM3Chip* one = T(1, 0)->GetMyChip();
    d.Step();
    d.Step();
    T(1, 1)->GetMyChip()->Destroy(0, kDestroyMatch);
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), ". . .\n1 3 .\n");
    EXPECT_EQ(one->myTile, T(1, 0));
    EXPECT_TRUE(one->isFree());
}

TEST_F(Faults, DestroyingCellsWithoutChipsIsSkipped)
{
    Load("1 . 1\n. 2 .");
    G().MatchTilesList({T(0, 1), T(1, 0), T(0, 0)});
    G().CreateBoardPowerUp(T(1, 1), {T(1, 1), T(0, 1), T(1, 2), T(0, 2)});
    ASSERT_GE(d.RunUntilSettled(), 0);
    EXPECT_EQ(d.Dump(), ". . .\n. 101 .\n");
}

TEST_F(Faults, NoReshuffleInTheMiddleOfACascade)
{
    d.AutoReshuffle = true;
    Load("1\n2\n.\n.");
    int frames = 0;
    while (!d.IsSettled()) {
        EXPECT_FALSE(G().NeedsReshuffle());
        d.Step();
        EXPECT_EQ(d.Reshuffles, 0) << "reshuffled while chips were moving, frame " << frames;
        ASSERT_LT(++frames, 500);
    }
    EXPECT_TRUE(G().NeedsReshuffle());
    d.Step();
    EXPECT_EQ(d.Reshuffles, 1);
}

TEST(Reshuffle, ArrangementAvoidsLinesAndAlwaysEnds)
{
    platform::Random rng(3);
    struct Case {
        std::vector<int> ids;
        int rows, cols;
        bool lineFree; // fewer than three kinds cannot always avoid lines
    } cases[] = {
        {{1, 2, 3, 4, 5, 6}, 9, 9, true}, {{1, 2, 3}, 8, 8, true}, {{1, 2}, 3, 3, false}, {{7}, 2, 4, false},
    };
    for (const auto& c : cases) {
        std::string text;
        for (int id : c.ids)
            text += std::to_string(id) + " ";
        SCOPED_TRACE(text);
        const auto a = M3ChipRandomizer::RandomizeArray(c.rows, c.cols, text, rng);
        ASSERT_EQ(a.size(), static_cast<size_t>(c.rows));
        for (int r = 0; r < c.rows; ++r)
            for (int col = 0; col < c.cols; ++col) {
                const int id = a[static_cast<size_t>(r)][static_cast<size_t>(col)];
                EXPECT_NE(std::find(c.ids.begin(), c.ids.end(), id), c.ids.end()) << id;
                if (c.lineFree) {
                    auto without = a;
                    without[static_cast<size_t>(r)][static_cast<size_t>(col)] = 0;
                    EXPECT_FALSE(M3ChipRandomizer::MakesLine(without, r, col, id)) << r << ", " << col;
                }
            }
    }
}

TEST_F(Faults, ReshuffleChangesOnlyFreeCellsAndTypOneObstacles)
{
    Load("1 1 2 2\n2@2 3 1@1 1\n3 3 1 2");
    platform::Random copy = G().rules;
    const auto expected = M3ChipRandomizer::RandomizeArray(3, 4, "1 2 3 4 5 6", copy);
    G().ReshuffleNow();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) {
            const int want = r == 1 && c == 0 ? 2 : expected[static_cast<size_t>(r)][static_cast<size_t>(c)];
            EXPECT_EQ(d.KindAt(r, c), want) << r << ", " << c;
        }
    EXPECT_EQ(T(1, 0)->obstacles.size(), 1u);
    EXPECT_EQ(T(1, 2)->obstacles.size(), 1u);
}

class Motion : public Board {};

TEST_F(Motion, DelayedDestroyWaitsForTheClock)
{
    Load("1$1 2");
    T(0, 0)->GetMyChip()->Destroy(300, kDestroyMatch);
    EXPECT_EQ(T(0, 0)->GetMyChip()->state, kChipWaitForDestroy);
    while (d.Clock() + 17 < 300) { // the next frame still ends before 300 ms
        d.Step();
        ASSERT_EQ(d.Level()->Cash, 0) << d.Clock();
    }
    d.Step();
    d.Step();
    EXPECT_GE(d.Clock(), 300);
    EXPECT_EQ(d.Level()->Cash, 1);
    EXPECT_EQ(d.KindAt(0, 0), 0);
}

TEST_F(Motion, DropsFallCappedBounceAtHalfSpeedAndFade)
{
    Load("1");
    TM3Drop drop;
    drop.myM3Game = &G();
    drop.obj = G().CreateChipById(1);
    drop.y = 600;
    float prev = drop.speed, fastest = 0;
    int bounces = 0, frames = 0;
    while (drop.update()) {
        fastest = std::max(fastest, drop.speed);
        if (prev > 0 && drop.speed < 0) {
            ++bounces;
            EXPECT_FLOAT_EQ(drop.speed, -std::min(prev + 0.2f, 18.0f) * 0.5f);
            EXPECT_EQ(drop.dAlpha, prev + 0.2f < 4 ? 0.0f : 1.0f);
        }
        prev = drop.speed;
        ASSERT_LT(++frames, 5000);
    }
    EXPECT_LE(fastest, 18.0f);
    EXPECT_GE(bounces, 3);
    EXPECT_TRUE(drop.dead);
}

TEST_F(Motion, PickedChipRocksAndComesToRest)
{
    Load("1 2");
    TM3Chip* chip = T(0, 0)->GetMyChip();
    G().pTile = T(0, 0);
    float lo = 0, hi = 0;
    for (int k = 0; k < 60; ++k) {
        d.Step();
        lo = std::min(lo, chip->rot);
        hi = std::max(hi, chip->rot);
    }
    EXPECT_LT(lo, -10);
    EXPECT_GT(hi, 10);
    G().pTile = nullptr;
    for (int k = 0; k < 40; ++k)
        d.Step();
    EXPECT_NEAR(chip->rot, 0, 1e-4);
    EXPECT_EQ(T(0, 1)->GetMyChip()->rot, 0);
}

TEST_F(Motion, HintVanishesWhenItsChipsStopBeingNeighbours)
{
    Load("1 2 3 4\n3 4 1 2\n5 5 6 5");
    auto hint = G().GetSwapHint();
    ASSERT_TRUE(hint);
    EXPECT_FALSE(hint->Update(0, 1, false));
    EXPECT_GT(hint->Alpha, 0);
    hint->Chip2->ady = -72;
    hint->Chip2->adx = 20;
    EXPECT_TRUE(hint->Update(0, 1, false));
    EXPECT_EQ(hint->Alpha, 0);
}

TEST_F(Gravity, FrameFactorScalesMotionAndZeroSpeedsStillSettle)
{
    Load("1\n.\n.");
    const int normal = d.RunUntilSettled(1000, 1.0f);
    Load("1\n.\n.");
    const int doubled = d.RunUntilSettled(1000, 2.0f);
    EXPECT_GT(normal, 0);
    EXPECT_LT(doubled, normal);
    EXPECT_GE(doubled, normal / 2 - 1);
    // Engine data without fall or landing speeds must not hold chips in the
    // air (or in a bounce) for ever.
    const struct {
        float fall, land;
    } speeds[] = {{0, 1}, {8, 0}, {0, 0}};
    for (const auto& s : speeds) {
        Load("1\n.\n.");
        G().SetSpeedFallChip(s.fall);
        G().SetSpeedLandAcc(s.land);
        EXPECT_GE(d.RunUntilSettled(1000), 0) << s.fall << ", " << s.land;
        EXPECT_EQ(d.Dump(), ".\n.\n1\n");
    }
}

namespace {

// A 7 x 7 board without lines, the power chip in the middle.
std::string PowerBoard(int power)
{
    std::string pic;
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c)
            pic += (c ? " " : "") + std::to_string(r == 3 && c == 3 ? power : (r + 2 * c) % 6 + 1);
        pic += "\n";
    }
    return pic;
}

} // namespace

TEST_F(Swap, FiredPowerChipsClearTheirShapes)
{
    const auto board = PowerBoard;
    struct Case {
        int power;
        int chipsLeft;
        std::vector<std::pair<int, int>> kept; // cells that still hold a chip after settling
    } cases[] = {
        {kChipCross, 49 - 5, {{3, 3}, {4, 3}, {3, 2}}},
        {kChipLightning, 49 - 7, {{1, 0}, {3, 3}, {1, 6}}},
        {kChipBomb, 2, {{6, 0}, {6, 6}}}, // the two corners the bomb spares, fallen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.power);
        Load(board(c.power));
        ASSERT_TRUE(d.Click(3, 3));
        ASSERT_GE(d.RunUntilSettled(), 0);
        EXPECT_EQ(G().CountAllChips(), c.chipsLeft);
        for (auto [r, col] : c.kept)
            EXPECT_NE(d.KindAt(r, col), 0) << r << ", " << col;
    }
}

TEST_F(Swap, FiredPowerChipsHitFartherCellsLater)
{
    // The row burns outward from the lightning chip; the bomb's blast comes
    // in rings of 100, 200 and 300 ms.
    struct Case {
        int power, r, c;
        int64_t delayMs;
    } cases[] = {
        {kChipLightning, 3, 2, 50},  {kChipLightning, 3, 5, 100}, {kChipLightning, 3, 0, 150},
        {kChipLightning, 3, 6, 150}, {kChipCross, 2, 3, 200},     {kChipCross, 3, 4, 200},
        {kChipBomb, 4, 4, 100},      {kChipBomb, 3, 5, 200},      {kChipBomb, 5, 5, 200},
        {kChipBomb, 3, 6, 200},      {kChipBomb, 0, 6, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.power) + " at " + std::to_string(c.r) + ", " + std::to_string(c.c));
        Load(PowerBoard(c.power));
        PM3Chip power = T(3, 3)->chip;
        power->DestroyAsPowerUp();
        const TM3Chip* hit = T(c.r, c.c)->GetMyChip();
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->state, kChipWaitForDestroy);
        EXPECT_EQ(hit->waitTime - G().Now(), c.delayMs);
    }
}
