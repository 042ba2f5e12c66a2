// The war-story slideshow, shown as a pop-up.
// For now an empty pop-up: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace story {

class TWarStory : public app::TPopUp {
};

} // namespace story
