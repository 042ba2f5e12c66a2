// Match finding: the line finder of the swap mode, the group finder of the
// group mode, and the hint shown to the player.
//
// A line match through an origin cell is a straight line of at least three
// matching chips through it, or the union of a vertical and a horizontal line
// crossing at it (L, T and cross shapes). The result lists the origin first,
// then the vertical cells (upward walk, then downward), then the horizontal
// cells (leftward walk, then rightward); each walk stops at the first cell
// that does not qualify or after 10 cells. A cell qualifies when it exists,
// holds a chip of the origin's kind and has no non-matching obstacle.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "fx/pulsar.h"
#include "gui/images.h"

namespace match3 {

class TM3Game;
class TM3Tile;
class TM3Chip;

namespace SwapMatchFinder {
// The cells matched through `cell`; empty when there is no match or the cell,
// its chip or the controller is missing.
std::vector<TM3Tile*> FindMatches(const TM3Game* game, TM3Tile* cell);
}

namespace GroupMatchFinder {
// The connected group of idle chips of the origin's kind through `cell`
// (neighbours up, down, left, right; breadth first); empty below 3 chips.
std::vector<TM3Tile*> FindMatches(const TM3Game* game, TM3Tile* cell);
}

// The power kind a line match of `cells` cells makes: 101 for 5 or 8, 102
// for 6, 103 for 7, 0 for any other size.
int PowerKindForMatchSize(size_t cells);

class TSwapHint {
public:
    std::shared_ptr<TM3Chip> Chip1, Chip2;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int rot1 = 0, rot2 = 0;
    TPulsar p1, p2;
    int64_t Time = 0;
    float Alpha = 0, dAlpha = 1;
    int64_t createdAt = 0;
    gui::PImg arrow; // the shared hint arrow picture (may be none)

    void Set(std::shared_ptr<TM3Chip> a, std::shared_ptr<TM3Chip> b, int64_t now);
    // One frame; true once fully faded out.
    bool Update(int64_t now, float frameFactor, bool leftPressed);
    void Draw(int64_t now, float frameFactor, bool leftPressed);
    void Hide() { Time = 0; }
};

} // namespace match3
