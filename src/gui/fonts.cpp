#include "gui/fonts.h"

#include <vector>


namespace gui {

namespace {

std::vector<TMyFont>& Cache()
{
    static std::vector<TMyFont> cache;
    return cache;
}

// Files found missing: one console line for a file, however many sizes ask for it.
std::vector<std::string>& Missing()
{
    static std::vector<std::string> missing;
    return missing;
}

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb)
            return false;
    }
    return true;
}

} // namespace

platform::FontPtr GetFont(const std::string& path, int size)
{
    for (const TMyFont& f : Cache())
        if (f.size == size && SameText(f.url, path))
            return f.font;
    TMyFont entry;
    entry.url = path;
    entry.size = size;
    bool knownMissing = false;
    for (const std::string& m : Missing())
        knownMissing = knownMissing || SameText(m, path);
    if (!knownMissing) {
        // The platform names a missing or broken file on the console.
        entry.font = platform::LoadFont(path, size, true);
        if (!entry.font)
            Missing().push_back(path);
    }
    Cache().push_back(entry);
    return entry.font;
}

size_t FontCacheSize() { return Cache().size(); }

void ClearFontCache()
{
    Cache().clear();
    Missing().clear();
}

} // namespace gui
