#include "fx/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace fx {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

size_t SkipSpace(std::string_view text, size_t i)
{
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

} // namespace

int TextToInt(std::string_view text)
{
    size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Accumulate the magnitude with saturation, so that long digit runs clamp
    // instead of overflowing.
    const int64_t limit = int64_t(std::numeric_limits<int>::max()) + 1;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i]);
        if (d >= base)
            break;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            magnitude = limit;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

float TextToFloat(std::string_view text)
{
    size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Only digits or a point may start the number: this keeps "inf", "nan" and
    // a second sign out.
    if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.'))
        return 0.0f;
    double value = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Decide between underflow and overflow by the exponent's sign.
        bool tiny = false;
        for (const char* p = first; p < ptr; ++p) {
            if ((*p == 'e' || *p == 'E') && p + 1 < ptr && p[1] == '-')
                tiny = true;
        }
        value = tiny ? 0.0 : std::numeric_limits<double>::max();
    } else if (ec != std::errc()) {
        return 0.0f;
    }
    const double fmax = std::numeric_limits<float>::max();
    if (value > fmax)
        value = fmax;
    const float result = static_cast<float>(value);
    return negative ? -result : result;
}

std::string FloatToText9(float value)
{
    constexpr int kDigits = 9;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::general, kDigits);
    std::string text(buf, res.ptr);
    if (!std::isfinite(value))
        return text;
    // Keep the decimal point and pad the trailing zeros that the plain form drops.
    const size_t ePos = text.find('e');
    std::string mantissa = text.substr(0, ePos);
    const std::string exponent = ePos == std::string::npos ? std::string() : text.substr(ePos);
    if (mantissa.find('.') == std::string::npos)
        mantissa += '.';
    int significant = 0;
    bool started = false;
    for (char c : mantissa) {
        if (c < '0' || c > '9')
            continue;
        if (c != '0')
            started = true;
        if (started)
            ++significant;
    }
    if (!started)
        significant = 1; // zero: its single "0" counts as the first digit
    mantissa.append(static_cast<size_t>(std::max(0, kDigits - significant)), '0');
    return mantissa + exponent;
}

std::string FloatToText(float value)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

} // namespace fx
