// File-local helpers shared by the level play screen's source files; included
// only by them.
#pragma once

#include "match3/m3level.h"

namespace level {

inline constexpr float kPanelSpeed = 0.02f;

// Rows of the board bottom to top, each left to right.
template <typename Fn>
void ForCellsBottomUp(match3::TM3Level& lvl, Fn fn)
{
    for (int r = lvl.rows - 1; r >= 0; --r)
        for (int c = 0; c < lvl.cols; ++c)
            if (auto* t = lvl.GetTileByPosition(r, c); t && t->td[0])
                fn(t);
}

} // namespace level
