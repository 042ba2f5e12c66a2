// The board as an app object: hung under the level play screen, it draws the
// controller's board (cells, frame, chips, highlights, obstacles, swaps and
// drops, in that order) and, when asked, the chips leaving the board (drops
// and fantoms), which advance as they are drawn. The board keeps its own
// screen position (the level's origin); the object's placement is not used.
#pragma once

#include "app/appobj.h"

namespace match3 {

class TM3Game;

class TM3BoardView : public app::TAppObj {
public:
    explicit TM3BoardView(TM3Game* game, bool withDetached = false) : game_(game), withDetached_(withDetached) {}
    void SetGame(TM3Game* game) { game_ = game; }
    void OnDraw() override;

private:
    TM3Game* game_ = nullptr; // not owning: the screen owns the controller
    bool withDetached_ = false;
};

} // namespace match3
