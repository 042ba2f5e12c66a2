// Line matches, power kinds, move availability, hints and drag input.
#include <unistd.h>

#include <algorithm>

#include "gui/mouse.h"
#include "m3_support.h"
#include "match3/m3finder.h"

using namespace match3;
using m3test::Board;

namespace {

using Cells = std::vector<std::pair<int, int>>;

Cells RC(const std::vector<TM3Tile*>& tiles)
{
    Cells out;
    for (auto* t : tiles)
        out.emplace_back(t->r, t->c);
    return out;
}

} // namespace

class Match : public Board {};

TEST_F(Match, LineFinderShapesAndOrder)
{
    struct Case {
        const char* what;
        const char* picture;
        int r, c;
        Cells expected; // origin first, then upward, downward, leftward, rightward
    } cases[] = {
        {"three, origin at the left end", "1 1 1 2", 0, 0, {{0, 0}, {0, 1}, {0, 2}}},
        {"three, origin in the middle", "1 1 1 2", 0, 1, {{0, 1}, {0, 0}, {0, 2}}},
        {"four, origin at the right end", "2 1 1 1 1", 0, 4, {{0, 4}, {0, 3}, {0, 2}, {0, 1}}},
        {"four, origin second", "1 1 1 1 2", 0, 1, {{0, 1}, {0, 0}, {0, 2}, {0, 3}}},
        {"five, origin in the middle", "1 1 1 1 1", 0, 2, {{0, 2}, {0, 1}, {0, 0}, {0, 3}, {0, 4}}},
        {"five, origin at the end", "1 1 1 1 1", 0, 0, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}}},
        {"vertical three, origin in the middle", "1\n1\n1\n2", 1, 0, {{1, 0}, {0, 0}, {2, 0}}},
        {"L: three up and three right", "1 2 2\n1 3 3\n1 1 1", 2, 0, {{2, 0}, {1, 0}, {0, 0}, {2, 1}, {2, 2}}},
        {"T: bar on top", "1 1 1\n2 1 2\n3 1 3", 0, 1, {{0, 1}, {1, 1}, {2, 1}, {0, 0}, {0, 2}}},
        {"cross", "2 1 2\n1 1 1\n3 1 3", 1, 1, {{1, 1}, {0, 1}, {2, 1}, {1, 0}, {1, 2}}},
        {"a pair is no match", "1 1 2\n2 3 3", 0, 0, {}},
        {"a non-matching obstacle stops the walk", "1 1 1@4 1", 0, 0, {}},
        {"walk beyond a non-matching cell is cut", "1@4 1 1 1", 0, 3, {{0, 3}, {0, 2}, {0, 1}}},
        {"a chip under a non-matching obstacle matches nothing", "1@4 1 1", 0, 0, {}},
        {"an ordinary obstacle does not stop matching", "1 1@1 1", 0, 0, {{0, 0}, {0, 1}, {0, 2}}},
        {"holes stop the walk", "1 # 1 1", 0, 3, {}},
        {"empty origin", ". 1 1", 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.picture);
        EXPECT_EQ(RC(SwapMatchFinder::FindMatches(&G(), T(c.r, c.c))), c.expected);
    }
}

TEST_F(Match, GroupFinderJoinsSidesOnlyAndNeedsThree)
{
    struct Case {
        const char* what;
        const char* picture;
        int r, c;
        Cells expected; // origin first, then in the order the search reaches them
    } cases[] = {
        {"three bent round a corner", "1 1 2\n3 1 4", 0, 0, {{0, 0}, {0, 1}, {1, 1}}},
        {"four in a column from the second", "1\n1\n1\n1", 1, 0, {{1, 0}, {0, 0}, {2, 0}, {3, 0}}},
        {"a pair is no group", "1 1 2\n3 4 5", 0, 0, {}},
        {"diagonal neighbours do not join", "1 2 1\n2 1 2", 0, 0, {}},
        {"a non-matching obstacle cuts the group short", "1 1 1@4 1", 0, 0, {}},
        {"the rest of the row still groups", "1@4 1 1 1", 0, 3, {{0, 3}, {0, 2}, {0, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.picture);
        EXPECT_EQ(RC(GroupMatchFinder::FindMatches(&G(), T(c.r, c.c))), c.expected);
    }
}

TEST_F(Match, CrossQueryTakesChipsOnFourArmsNearestFirst)
{
    Load("1 2 3 4 5\n"
         "6 1 . 3 4\n"
         "2 3 4 5 6\n"
         "1 2 # 4 5\n"
         "3 4 5 6 1");
    struct Case {
        int r, c, n;
        Cells expected; // the cell itself, then per distance: down, right, up, left
    } cases[] = {
        {2, 2, 2, {{2, 2}, {2, 3}, {2, 1}, {4, 2}, {2, 4}, {0, 2}, {2, 0}}}, // a hole and an empty cell skipped
        {0, 0, 1, {{0, 0}, {1, 0}, {0, 1}}},                                 // arms off the board
        {1, 2, 1, {{1, 2}, {2, 2}, {1, 3}, {0, 2}, {1, 1}}},                 // the cell itself, empty
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.r) + ", " + std::to_string(c.c));
        EXPECT_EQ(RC(G().GetCrossTiles(c.r, c.c, c.n)), c.expected);
    }
}

TEST_F(Match, WalksStopAfterTenCells)
{
    Load("1 1 1 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(SwapMatchFinder::FindMatches(&G(), T(0, 0)).size(), 11u);
    EXPECT_EQ(SwapMatchFinder::FindMatches(&G(), T(0, 7)).size(), 14u);
}

TEST(MatchSize, PowerKindForEachSize)
{
    const std::pair<size_t, int> table[] = {{3, 0}, {4, 0}, {5, kChipCross}, {6, kChipLightning},
                                            {7, kChipBomb}, {8, kChipCross}, {9, 0}, {12, 0}};
    for (auto [size, kind] : table)
        EXPECT_EQ(PowerKindForMatchSize(size), kind) << size;
}

TEST_F(Match, MovesCoverTheLastRowAndColumn)
{
    struct Case {
        const char* what;
        const char* picture;
        std::vector<TM3Move> moves;
    } cases[] = {
        {"only move in the last row", "1 2 3 4\n3 4 1 2\n5 5 6 5", {{2, 2, 2, 3}}},
        {"only move in the last column", "1 3 5\n2 4 5\n3 1 6\n4 2 5", {{2, 2, 3, 2}}},
        {"moved chip in the middle of the line", "2 1 3\n1 2 1\n3 4 5", {{0, 1, 1, 1}}},
        {"a line through a non-matching obstacle is no move", "1@4 1 2 1", {}},
        {"obstacled cells are not swapped", "1 1 2@1 1", {}},
        {"locked cells are not swapped", "1 1 2! 1", {}},
        {"a power chip can always be swapped", "101 2 3", {{0, 0, 0, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.picture);
        d.RunUntilSettled();
        EXPECT_EQ(G().GetAvailableMoves(), c.moves);
        EXPECT_EQ(G().isAnyMoveAvailable_SWAP(), c.moves.empty() ? 0 : 1);
        EXPECT_EQ(G().NeedsReshuffle(), c.moves.empty());
    }
}

TEST_F(Match, EveryReportedMoveReallyMatches)
{
    // A busy board: every move found must make a line through one of its
    // cells once made, and the board must be unchanged by the scan.
    Load("1 2 1 3 2\n"
         "2 1 3 1 2\n"
         "1 3 2 2 1\n"
         "3 1 1 2 3\n"
         "2 2 3 1 1");
    const std::string before = d.Dump();
    const auto moves = G().GetAvailableMoves();
    ASSERT_FALSE(moves.empty());
    for (const auto& m : moves) {
        const bool viaSecond = !G().SwapChipsTemp(m.r1, m.c1, m.r2, m.c2).empty();
        const bool viaFirst = !G().SwapChipsTemp(m.r2, m.c2, m.r1, m.c1).empty();
        EXPECT_TRUE(viaFirst || viaSecond) << m.r1 << "," << m.c1 << " - " << m.r2 << "," << m.c2;
    }
    EXPECT_EQ(d.Dump(), before);
    for (int r = 0; r < d.Rows(); ++r)
        for (int c = 0; c < d.Cols(); ++c)
            EXPECT_EQ(T(r, c)->chip->myTile, T(r, c));
}

TEST_F(Match, HintPicksOneOfTheMoves)
{
    Load("1 2 3 4\n3 4 1 2\n5 5 6 5");
    auto hint = G().GetSwapHint();
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->Chip1, T(2, 2)->chip);
    EXPECT_EQ(hint->Chip2, T(2, 3)->chip);
    EXPECT_EQ(hint->rot1, 0);
    EXPECT_EQ(hint->rot2, 180);
    Load("1 2 3\n2 3 1");
    EXPECT_FALSE(G().GetSwapHint());
}

TEST_F(Match, DragDirectionFromDistance)
{
    // Fixture thresholds: 10 pixels across, 12 down.
    struct Case {
        float dx, dy;
        int dir;
    } cases[] = {
        {10, 0, 4}, {11, 0, 2}, {-10, 0, 4}, {-11, 0, 0}, {0, 12, 4}, {0, 13, 3},
        {0, -13, 1}, {20, 20, 4}, {-20, 20, 4}, {5, 30, 3}, {30, -5, 2}, {0, 0, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(G().CountDistance(100, 100, 100 + c.dx, 100 + c.dy), c.dir) << c.dx << ", " << c.dy;
}

TEST_F(Match, DragMustPassTheThreshold)
{
    Load("1 2 1 1\n3 4 5 6");
    auto& m = gui::Mouse();
    T(0, 1)->CountDrawPosition();
    m.x = T(0, 1)->ActDrawX;
    m.y = T(0, 1)->actDrawY;
    d.Step();
    ASSERT_EQ(G().oTile, T(0, 1));
    m.leftPressed = m.leftHolded = 1;
    G().CONTROL_INTERFACE();
    m.leftPressed = 0;
    EXPECT_EQ(G().pTile, T(0, 1));
    m.x += G().MinMoveX; // exactly the threshold: nothing
    G().CONTROL_INTERFACE();
    EXPECT_TRUE(G().pairsList.empty());
    m.x -= 2 * G().MinMoveX + 1; // toward the left neighbour, one pixel beyond
    G().CONTROL_INTERFACE();
    ASSERT_EQ(G().pairsList.size(), 1u);
    EXPECT_EQ(G().pairsList[0]->tile[1], T(0, 0));
    m.leftHolded = 0;
    m.x = m.y = -10000;
}

TEST_F(Match, DragTowardAHoleKeepsThePick)
{
    Load("# 2 1\n3 4 5");
    auto& m = gui::Mouse();
    T(0, 1)->CountDrawPosition();
    m.x = T(0, 1)->ActDrawX;
    m.y = T(0, 1)->actDrawY;
    d.Step();
    m.leftPressed = m.leftHolded = 1;
    G().CONTROL_INTERFACE();
    m.leftPressed = 0;
    m.x -= 40; // toward the hole
    G().CONTROL_INTERFACE();
    m.y -= 60; // off the board, upward
    m.x += 40;
    G().CONTROL_INTERFACE();
    EXPECT_TRUE(G().pairsList.empty());
    EXPECT_EQ(G().pTile, T(0, 1));
    m.leftHolded = 0;
    m.x = m.y = -10000;
}
