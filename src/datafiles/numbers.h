// Number conversion and text helpers shared by every data-file reader. None of
// them depends on the process locale: a data file reads the same everywhere.
#pragma once

#include <memory>
#include <string>

namespace datafiles {

// Integer reading: leading white space is skipped, then an optional "+" or "-",
// then decimal digits up to the first non-digit; "$" introduces hexadecimal and
// "%" binary digits. Anything else reads as 0; trailing characters are ignored.
// Values beyond the int range wrap around (so "$FFFFFFFF" is -1).
int ParseInt(const std::string& text);

// Float reading: leading white space, optional sign, digits with an optional
// fraction and exponent; trailing characters are ignored; anything else, and
// results that are not finite, read as 0.
double ParseDouble(const std::string& text);
inline float ParseFloat(const std::string& text) { return static_cast<float>(ParseDouble(text)); }

// The nine-significant-digit form with the decimal point always shown
// (0.7f -> "0.699999988", 1 -> "1.00000000", 1e10 -> "1.00000000e+10").
std::string FormatFloat9(double value);
std::string FormatInt(int value);

// Truncation toward zero that is safe for every input: NaN gives 0 and values
// beyond the int range give the nearest end of the range.
int TruncToInt(double value);

// White space is every character of code 32 or less.
bool IsBlank(char c);
std::string Trim(const std::string& text);
std::string AsciiUpper(std::string text);
std::string AsciiLower(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);

// Removes the carriage return of every CR LF pair and a carriage return at the
// very end, so CR LF text reads exactly like LF text.
std::string NormalizeLineEnds(const std::string& text);

} // namespace datafiles

// ---- Boxed numbers ----

class TIntObj;

class TFloatObj {
public:
    float v = 0.0f;
    std::string ToString() const;
    int ToInt() const;
    std::shared_ptr<TIntObj> ToIntObj() const;
};

class TIntObj {
public:
    int v = 0;
    std::string ToString() const;
    float ToFloat() const;
    std::shared_ptr<TFloatObj> ToFloatOjb() const;
};

std::shared_ptr<TIntObj> NewIntObj(int i);
std::shared_ptr<TFloatObj> NewFloatObj(float f);
