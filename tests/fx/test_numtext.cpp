// Number conversions of the record text forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "fx/numtext.h"

namespace {

TEST(NumText, IntegerConversionTable)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42},      {"  -17", -17}, {"+8", 8},     {"12abc", 12},       {"3.9", 3},
        {"$1F", 31},     {"-$10", -16},  {"%101", 5},   {"abc", 0},          {"", 0},
        {"-", 0},        {"$", 0},       {"%2", 0},     {"\t 7\r", 7},       {"$FFFFFFFF", -1},
        {"$ff", 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fx::TextToInt(c.text), c.value) << "text '" << c.text << "'";
}

TEST(NumText, FloatConversionTable)
{
    struct Case {
        const char* text;
        float value;
    } cases[] = {
        {"1.5", 1.5f},  {" -2.25", -2.25f}, {"+3", 3.0f},   {".5", 0.5f},  {"1e3", 1000.0f},
        {"2.5x", 2.5f}, {"abc", 0.0f},      {"", 0.0f},     {"inf", 0.0f}, {"nan", 0.0f},
        {"-inf", 0.0f}, {"+-1", 0.0f},      {"1e-60", 0.0f}, {"7\r", 7.0f},
        {"1e60", std::numeric_limits<float>::max()}, {"-1e60", -std::numeric_limits<float>::max()},
        {"1e400", 0.0f},
    };
    for (const Case& c : cases) {
        const float v = fx::TextToFloat(c.text);
        EXPECT_TRUE(std::isfinite(v)) << "text '" << c.text << "'";
        EXPECT_FLOAT_EQ(v, c.value) << "text '" << c.text << "'";
    }
}

// The nine-digit form must be exactly what "%#.9g" prints, whatever the value's
// magnitude (plain and exponent forms, zero, negative values).
TEST(NumText, NineDigitFormMatchesPrintf)
{
    const float values[] = {0.0f,  1.0f,     0.7f,     -0.7f,    100.0f,  123456789.0f, 1234567890.0f,
                            1e-5f, 0.0001f,  3.14159f, -2.5e12f, 1e30f,   65536.0f,     0.5f,
                            -1.0f, 1e-38f,   99.99f,   1e9f,     12.75f,  -0.001f,      std::numeric_limits<float>::max()};
    for (float v : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%#.9g", static_cast<double>(v));
        EXPECT_EQ(fx::FloatToText9(v), expected) << "value " << v;
        EXPECT_EQ(fx::TextToFloat(fx::FloatToText9(v)), v) << "round trip of " << v;
    }
    EXPECT_EQ(fx::FloatToText9(0.7f), "0.699999988");
    EXPECT_EQ(fx::FloatToText9(1.0f), "1.00000000");
}

TEST(NumText, ShortFormRoundTrips)
{
    EXPECT_EQ(fx::FloatToText(100.0f), "100");
    EXPECT_EQ(fx::FloatToText(12.5f), "12.5");
    EXPECT_EQ(fx::TextToFloat(fx::FloatToText(0.1f)), 0.1f);
}

} // namespace
