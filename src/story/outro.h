// The outro slideshow that closes the game.
// For now an empty screen: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace story {

class TOutro : public app::TScreen {
};

} // namespace story
