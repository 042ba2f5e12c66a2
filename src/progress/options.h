// The options pop-up: volumes, full screen and the tutorial.
// For now an empty styled pop-up: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "menus/styled/zefarpopup.h"

namespace progress {

class TOptions : public menus::TZefarPopUp {
};

} // namespace progress
