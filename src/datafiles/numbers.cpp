#include "datafiles/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace datafiles {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string& text)
{
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string NormalizeLineEnds(const std::string& text)
{
    if (text.find('\r') == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n'))
            continue;
        out.push_back(text[i]);
    }
    return out;
}

int ParseInt(const std::string& text)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < n && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Unsigned arithmetic wraps without undefined behaviour.
    uint32_t value = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    if (negative)
        value = 0u - value;
    return static_cast<int>(value);
}

double ParseDouble(const std::string& text)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Only plain decimal notation: no "inf", "nan" or hexadecimal forms.
    if (i >= n || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.'))
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + i, text.data() + n, value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

std::string FormatFloat9(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buf[64];
    // The exponent after rounding to nine digits decides between the two forms,
    // exactly as the "%#.9g" conversion does.
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 8);
    const std::string sci(buf, r.ptr);
    const size_t e = sci.find('e');
    const int exponent = std::atoi(sci.c_str() + e + 1);
    if (exponent < -4 || exponent >= 9)
        return sci;
    const int decimals = 8 - exponent;
    r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string fixed(buf, r.ptr);
    if (decimals == 0)
        fixed += '.';
    return fixed;
}

std::string FormatInt(int value)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace datafiles

// ---- Boxed numbers ----

std::string TFloatObj::ToString() const { return datafiles::FormatFloat9(v); }
int TFloatObj::ToInt() const { return datafiles::TruncToInt(v); }
std::shared_ptr<TIntObj> TFloatObj::ToIntObj() const { return NewIntObj(ToInt()); }

std::string TIntObj::ToString() const { return datafiles::FormatInt(v); }
float TIntObj::ToFloat() const { return static_cast<float>(v); }
std::shared_ptr<TFloatObj> TIntObj::ToFloatOjb() const { return NewFloatObj(ToFloat()); }

std::shared_ptr<TIntObj> NewIntObj(int i)
{
    auto o = std::make_shared<TIntObj>();
    o->v = i;
    return o;
}

std::shared_ptr<TFloatObj> NewFloatObj(float f)
{
    auto o = std::make_shared<TFloatObj>();
    o->v = f;
    return o;
}
