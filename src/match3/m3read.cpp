#include "match3/m3read.h"

#include <cmath>

namespace match3 {

std::string TrimmedValue(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '"'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '"'))
        --e;
    return s.substr(b, e - b);
}

int CatalogueInt(const TRCMFile& f, const std::string& key, int i)
{
    const float v = f.getFloat(key, i);
    if (!std::isfinite(v) || v > 2.0e9f || v < -2.0e9f)
        return 0;
    return static_cast<int>(v); // truncation toward zero
}

} // namespace match3
