// The tutorial's tip pop-up. Shown alone it leaves the dark layer under
// pop-ups as it is, so a tip does not darken the board it explains.
// For now an empty pop-up: it exists, is registered and set up at start-up
// like every other, and its tips are added here.
#pragma once

#include "app/screen.h"

namespace tutorial {

class TTutorialPopUp : public app::TPopUp {
public:
    bool LeavesDarkFadeAlone() const override { return true; }
};

} // namespace tutorial
