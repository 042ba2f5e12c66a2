// The level summary that pays score and cash.
// For now an empty pop-up: it exists, is registered and set up at start-up
// like every other, and its behaviour is added here.
#pragma once

#include "app/screen.h"

namespace level {

class TSummary : public app::TPopUp {
};

} // namespace level
