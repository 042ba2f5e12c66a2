// Loads the dialog characters at start-up.
// For now an empty loader: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace story {

class TCharactersLoader : public app::TLoader {
};

} // namespace story
