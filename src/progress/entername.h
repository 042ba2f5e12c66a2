// The pop-up that asks for a new player's name.
// For now an empty styled pop-up: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "menus/styled/zefarpopup.h"

namespace progress {

class TEnterName : public menus::TZefarPopUp {
};

} // namespace progress
