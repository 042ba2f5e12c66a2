#include "match3/m3boardview.h"

#include "match3/m3game.h"

namespace match3 {

void TM3BoardView::OnDraw()
{
    if (!game_)
        return;
    game_->draw();
    if (withDetached_)
        game_->DrawDetached();
}

} // namespace match3
