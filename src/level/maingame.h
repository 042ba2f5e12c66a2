// The level play screen: the board, its panels, time, stars, win and loss.
// For now an empty screen: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace level {

class TMainGame : public app::TScreen {
};

} // namespace level
