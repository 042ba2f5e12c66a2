// The scrolling credits.
// For now an empty screen: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace menus {

class TCredits : public app::TScreen {
};

} // namespace menus
