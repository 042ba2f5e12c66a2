#include "fx/numtext.h"

#include <charconv>
#include <limits>

#include "datafiles/numbers.h"

namespace fx {

// The record text forms read numbers exactly like every other data file.
int TextToInt(std::string_view text) { return datafiles::ParseInt(std::string(text)); }

float TextToFloat(std::string_view text)
{
    const double value = datafiles::ParseDouble(std::string(text));
    const double fmax = std::numeric_limits<float>::max();
    if (value > fmax)
        return std::numeric_limits<float>::max();
    if (value < -fmax)
        return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}

std::string FloatToText9(float value) { return datafiles::FormatFloat9(value); }

std::string FloatToText(float value)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

} // namespace fx
