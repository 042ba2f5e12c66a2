// The intro slideshow that opens the game.
// For now an empty screen: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace story {

class TIntro : public app::TScreen {
};

} // namespace story
