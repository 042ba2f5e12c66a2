// Value records: text forms, copies and setters, easing codes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/platform/core/system.h"
#include "fx/records.h"

namespace {

TEST(RecordText, DimShortFormSetsLeadingFieldsAndWritesAllEleven)
{
    TDim d = DimFromString("10,20,30,40");
    EXPECT_EQ(d.x, 10);
    EXPECT_EQ(d.y, 20);
    EXPECT_EQ(d.w, 30);
    EXPECT_EQ(d.h, 40);
    EXPECT_EQ(d.x1, 0);
    EXPECT_EQ(d.position, 0);
    EXPECT_EQ(d.isBezier, 0);
    EXPECT_EQ(d.ToString(), "10.0000000,20.0000000,30.0000000,40.0000000,0.00000000,0.00000000,0.00000000,"
                            "0.00000000,0.00000000,0,0");
}

TEST(RecordText, MissingFieldsKeepCurrentValuesExtraFieldsIgnored)
{
    struct Case {
        const char* text;
        TRGB before;
        TRGB expected;
    } cases[] = {
        // short forms leave the tail alone
        {"1,2", CreateRGB(9, 9, 9, 0.5f, 0.25f), CreateRGB(1, 2, 9, 0.5f, 0.25f)},
        {"", CreateRGB(9, 9, 9, 0.5f, 0.25f), CreateRGB(0, 9, 9, 0.5f, 0.25f)},
        // extra fields are ignored
        {"1,2,3,0.5,0.75,99,100", CreateRGB(0, 0, 0), CreateRGB(1, 2, 3, 0.5f, 0.75f)},
        // non-numbers and empty fields read as 0; integer fields truncate
        {"x,,7.9,abc,2", CreateRGB(5, 5, 5, 1, 1), CreateRGB(0, 0, 7, 0, 2)},
        {"$FF,%11,-4,1e-1,1", CreateRGB(0, 0, 0), CreateRGB(255, 3, -4, 0.1f, 1)},
    };
    for (const Case& c : cases) {
        TRGB rgb = c.before;
        rgb.FromString(c.text);
        EXPECT_EQ(rgb.r, c.expected.r) << c.text;
        EXPECT_EQ(rgb.g, c.expected.g) << c.text;
        EXPECT_EQ(rgb.b, c.expected.b) << c.text;
        EXPECT_FLOAT_EQ(rgb.a, c.expected.a) << c.text;
        EXPECT_FLOAT_EQ(rgb.position, c.expected.position) << c.text;
    }
}

TEST(RecordText, RoundTripsKeepEveryWrittenField)
{
    TDim d = CreateDim(1.5f, -2.25f, 3, 4, 0.75f, 5, 6, 7, 8);
    d.isBezier = 2;
    d.isSplaszczenie = 4;
    d.cx = 99; // not part of the text form
    const TDim back = DimFromString(d.ToString());
    EXPECT_EQ(back.ToString(), d.ToString());
    EXPECT_EQ(back.isBezier, 2);
    EXPECT_EQ(back.isSplaszczenie, 4);
    EXPECT_EQ(back.x2, 7);
    EXPECT_EQ(back.cx, 0);

    const TRGB c = CreateRGB(10, 20, 30, 0.7f, 0.3f);
    EXPECT_EQ(c.ToString(), "10,20,30,0.699999988,0.300000012");
    EXPECT_EQ(RGBFromString(c.ToString()).ToString(), c.ToString());

    TTFR t = CreateTFR(1.25f, 0.5f, -45, 0.5f);
    t.isSplaszczenie = 3;
    EXPECT_EQ(t.ToString(), "1.25000000,0.500000000,-45.0000000,0.500000000,3");
    const TTFR tb = TFRFromString(t.ToString());
    EXPECT_EQ(tb.ToString(), t.ToString());
}

TEST(RecordText, DefaultsOfNewRecords)
{
    const TRGB c = RGBFromString("1");
    EXPECT_EQ(c.g, 0);
    EXPECT_EQ(c.a, 1);
    EXPECT_EQ(c.position, 1);
    const TTFR t = TFRFromString("2");
    EXPECT_EQ(t.sx, 2);
    EXPECT_EQ(t.sy, 1);
    EXPECT_EQ(t.Rotation, 0);
}

TEST(RecordCopy, CopiesKeepOnlyTheirDocumentedFields)
{
    TDim d = CreateDim(1, 2, 3, 4, 0.5f, 5, 6, 7, 8);
    d.isBezier = 1;
    d.isSplaszczenie = 2;
    d.cx = 9;
    d.cy = 10;
    d.o = std::make_shared<int>(3);

    const TDim copy = d.Copy();
    EXPECT_EQ(copy.ToString(), CreateDim(1, 2, 3, 4, 0.5f).ToString());
    EXPECT_EQ(copy.o, nullptr);

    TDim target;
    target.cx = 11;
    target.isSplaszczenie = 6;
    target.SetDataFromOtherDim(d);
    EXPECT_EQ(target.x2, 7);
    EXPECT_EQ(target.isBezier, 1);
    EXPECT_EQ(target.position, 0.5f);
    EXPECT_EQ(target.cx, 11);            // kept
    EXPECT_EQ(target.isSplaszczenie, 6); // kept
    EXPECT_EQ(target.o, nullptr);        // kept

    TTFR t = CreateTFR(2, 3, 4, 0.5f);
    t.isSplaszczenie = 5;
    const TTFR tc = t.Copy();
    EXPECT_EQ(tc.sx, 2);
    EXPECT_EQ(tc.Position, 0.5f);
    EXPECT_EQ(tc.isSplaszczenie, 0);
}

TEST(RecordCopy, CountCornersGivesTopLeftAndBottomRight)
{
    TDim d = CreateDim(10, 20, 30, 40);
    d.CountCorners();
    EXPECT_EQ(d.x1, 10);
    EXPECT_EQ(d.y1, 20);
    EXPECT_EQ(d.x2, 40);
    EXPECT_EQ(d.y2, 60);
}

TEST(RecordCopy, GetCloseStaysWithinRangeAndClamps)
{
    platform::Rng().Seed(1234);
    const TRGB base = CreateRGB(250, 3, 128, 0.2f, 0.4f);
    bool sawClampHigh = false, sawClampLow = false;
    for (int i = 0; i < 200; ++i) {
        const TRGB c = base.GetClose(10);
        EXPECT_GE(c.r, 240);
        EXPECT_LE(c.r, 255);
        EXPECT_GE(c.g, 0);
        EXPECT_LE(c.g, 13);
        EXPECT_GE(c.b, 118);
        EXPECT_LE(c.b, 138);
        EXPECT_EQ(c.a, 1);
        EXPECT_EQ(c.position, 1);
        sawClampHigh |= c.r == 255;
        sawClampLow |= c.g == 0;
    }
    EXPECT_TRUE(sawClampHigh);
    EXPECT_TRUE(sawClampLow);
    // A negative distance means the same range, not an empty one.
    const TRGB n = base.GetClose(-2);
    EXPECT_LE(std::abs(n.b - 128), 2);
}

TEST(Easing, CodesTable)
{
    struct Case {
        int code;
        float t;
        float value;
    } cases[] = {
        {0, 0.25f, 0.25f}, {1, 0.0f, 0.0f},  {1, 1.0f, 1.0f},   {1, 0.5f, std::sqrt(0.5f)},
        {2, 0.5f, 1.0f},   {2, 1.0f, 0.0f},  {3, 0.25f, 1.0f},  {3, 0.75f, -1.0f},
        {4, 0.0f, 1.0f},   {4, 1.0f, 0.0f},  {5, 1.0f, -1.0f},  {5, 0.5f, 0.0f},
        {6, 0.5f, -1.0f},  {6, 1.0f, 1.0f},  {7, 0.5f, 0.0f},   {-1, 0.5f, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(EaseByCode(c.code, c.t), c.value, 1e-6f) << "code " << c.code << " t " << c.t;
        TTFR key;
        key.isSplaszczenie = c.code;
        EXPECT_EQ(key.GetSplatPer(c.t), EaseByCode(c.code, c.t));
    }
}

} // namespace
