// The bytes of the built-in fallback font (a whole TrueType file), built into
// the program; font.cpp makes DefaultFont() from them.
#pragma once

#include <cstddef>

namespace platform::detail {

const unsigned char* DefaultFontBytes();
size_t DefaultFontSize();

} // namespace platform::detail
