// The menu opened during play.
// For now an empty styled pop-up: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "menus/styled/zefarpopup.h"

namespace level {

class TInGameMenu : public menus::TZefarPopUp {
};

} // namespace level
