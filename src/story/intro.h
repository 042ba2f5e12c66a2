// The intro slideshow that opens the game.
// For now a screen with no slides: entered at a new game's start, it passes
// straight on to the first level. The slides are added here.
#pragma once

#include "app/screen.h"
#include "progress/road.h"

namespace story {

class TIntro : public app::TScreen {
public:
    // No slides yet: the intro is over as soon as it is entered.
    void OnPrepare() override { progress::StartGameAfterIntro(); }
};

} // namespace story
