// Number conversions of the data-file text forms. They never depend on the
// process locale: a decimal point is always ".".
#pragma once

#include <string>
#include <string_view>

namespace fx {

// These follow the number rules of the block files (datafiles/numbers.h), so a
// record reads the same wherever it is stored.
//
// Leading white space, an optional sign, then decimal digits up to the first
// other character ("$" introduces hexadecimal and "%" binary digits). Text that
// does not start like a number reads as 0; values beyond 32 bits wrap around
// ("$FFFFFFFF" is -1).
int TextToInt(std::string_view text);

// The usual decimal notation with optional sign, fraction and exponent;
// trailing characters are ignored and anything else reads as 0. "inf" and
// "nan" are not numbers here, and values beyond the float range are clamped
// to the largest finite float, so a read value is always finite.
float TextToFloat(std::string_view text);

// Nine significant digits with the decimal point and trailing zeros kept
// (0.7f gives "0.699999988", 1 gives "1.00000000"), the form data files use.
std::string FloatToText9(float value);

// The shortest text that reads back as the same float ("100", "12.5").
std::string FloatToText(float value);

} // namespace fx
