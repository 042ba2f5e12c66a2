// The drawing side of the records, checked on pixels of a headless software
// display.
#include <gtest/gtest.h>

#include "app/platform/platform.h"
#include "fx/records.h"
#include "support/headless.h"

namespace {

class RecordDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(32, 32);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        platform::SetRasterising(true);
        platform::SetVirtualResolution(32, 32, 0);
        platform::ResetDrawState();
        platform::SetClearColor(0, 0, 0);
        platform::Cls();
    }
    static bool Lit(int x, int y) { return platform::ReadPixel(x, y).r > 128; }
};

TEST_F(RecordDraw, OutlineDotAndRestoredState)
{
    platform::SetScale(3, 3);
    platform::SetRotation(30);
    TDim box = CreateDim(4, 6, 10, 8);
    box.DrawDimRect();
    EXPECT_EQ(box.x2, 14);
    EXPECT_EQ(box.y2, 14);
    // The scale and rotation in force before are back.
    EXPECT_FLOAT_EQ(platform::ScaleX(), 3);
    EXPECT_FLOAT_EQ(platform::GetRotation(), 30);

    TDim dot = CreatePointDim(20, 25);
    dot.DrawDimRect();

    struct Case {
        int x, y;
        bool lit;
    } cases[] = {
        {4, 6, true},   {9, 6, true},   {14, 10, true}, {9, 14, true}, {4, 10, true}, // the four sides
        {9, 10, false}, {2, 2, false},  {16, 10, false},                              // inside and outside
        {20, 25, true}, {21, 25, false}, {20, 26, false},                            // the dot
    };
    for (const Case& c : cases)
        EXPECT_EQ(Lit(c.x, c.y), c.lit) << c.x << "," << c.y;
}

TEST_F(RecordDraw, ApplySetsColourAlphaScaleAndRotation)
{
    ApplyRGB(CreateRGB(10, 20, 30, 0.25f));
    EXPECT_EQ(platform::ColorRed(), 10);
    EXPECT_EQ(platform::ColorBlue(), 30);
    EXPECT_FLOAT_EQ(platform::GetAlpha(), 0.25f);
    ApplyTFR(CreateTFR(2, 0.5f, 90));
    EXPECT_FLOAT_EQ(platform::ScaleX(), 2);
    EXPECT_FLOAT_EQ(platform::ScaleY(), 0.5f);
    EXPECT_FLOAT_EQ(platform::GetRotation(), 90);
    platform::ResetDrawState();
}

} // namespace
