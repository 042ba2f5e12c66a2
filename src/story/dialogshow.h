// The background presentation behind dialog scenes.
// For now an empty pop-up: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace story {

class TDialogShow : public app::TPopUp {
};

} // namespace story
