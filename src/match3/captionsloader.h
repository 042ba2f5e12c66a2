// Loads the pictures of the level captions at start-up.
// For now an empty loader: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace match3 {

class TCaptionsLoader : public app::TLoader {
};

} // namespace match3
