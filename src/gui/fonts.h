// The font cache: every font file is loaded once per pixel size.
#pragma once

#include <string>

#include "app/platform/font.h"

namespace gui {

struct TMyFont {
    std::string url; // font file path as first asked for
    int size = 0;    // pixel size
    platform::FontPtr font;
};

// The cached font for this path (letter case ignored) and pixel size, loaded
// smooth on first request. A file that cannot be loaded gives none, and is not
// tried again.
platform::FontPtr GetFont(const std::string& path, int size);

// Number of entries in the cache, and emptying it (tests).
size_t FontCacheSize();
void ClearFontCache();

} // namespace gui
