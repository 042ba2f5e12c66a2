// Number reading and writing used by every data file.
#include "datafiles/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace datafiles;

TEST(Numbers, IntegerReading)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42},        {"  -12abc", -12}, {"+7", 7},         {"$FF", 255},       {"$ff", 255},
        {"-$10", -16},     {"%101", 5},       {"%102", 2},       {"$FFFFFFFF", -1},  {"12.7", 12},
        {"1e3", 1},        {"abc", 0},        {"", 0},           {"-", 0},           {"$", 0},
        {"\t\r\n 9", 9},   {"2147483647", INT_MAX},              {"-2147483648", INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, FloatReading)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1.5", 1.5},   {" -0.25x", -0.25}, {"+2", 2.0},  {".5", 0.5}, {"1.5e2", 150.0}, {"3e", 3.0},
        {"abc", 0.0},   {"", 0.0},          {"inf", 0.0}, {"nan", 0.0}, {"1e999", 0.0},  {"-", 0.0},
        {" 9", 9.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ParseDouble(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, NineDigitFloatForm)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.7f, "0.699999988"},   {1.0, "1.00000000"},        {2.5, "2.50000000"},  {0.0, "0.00000000"},
        {-0.5, "-0.500000000"},  {123456789.0, "123456789."}, {1e10, "1.00000000e+10"},
        {999999999.0, "999999999."}, {1e9, "1.00000000e+09"},
        {1e-5, "1.00000000e-05"}, {0.0001, "0.000100000000"}, {9.9999999999, "10.0000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat9(c.value), c.text) << c.value;
    EXPECT_EQ(FormatInt(-2147483647 - 1), "-2147483648");
}

TEST(Numbers, SafeTruncationAndBoxes)
{
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(NAN), 0);
    EXPECT_EQ(TruncToInt(1e20), INT_MAX);
    EXPECT_EQ(TruncToInt(-1e20), INT_MIN);

    auto f = NewFloatObj(-2.75f);
    EXPECT_EQ(f->ToString(), "-2.75000000");
    EXPECT_EQ(f->ToInt(), -2);
    EXPECT_EQ(f->ToIntObj()->v, -2);
    auto i = NewIntObj(7);
    EXPECT_EQ(i->ToString(), "7");
    EXPECT_EQ(i->ToFloatOjb()->v, 7.0f);
}

TEST(Numbers, TextHelpers)
{
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(AsciiUpper("abc\xC3\xA9"), "ABC\xC3\xA9"); // UTF-8 bytes untouched
    EXPECT_TRUE(EqualsNoCase("Chips", "cHIPS"));
    EXPECT_FALSE(EqualsNoCase("Chip", "Chips"));
    EXPECT_EQ(NormalizeLineEnds("a\r\nb\rc\r"), "a\nb\rc");
}
