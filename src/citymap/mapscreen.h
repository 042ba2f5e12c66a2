// The city map screen with its buy window.
// For now an empty screen: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace citymap {

class TMapScreen : public app::TScreen {
};

} // namespace citymap
