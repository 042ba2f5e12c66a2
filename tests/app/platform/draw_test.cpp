// The drawing state and the geometry path, checked on pixels read back from
// the software renderer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform_env.h"

using namespace platform;

namespace {

// An image of solid colour (with an alpha of 255).
ImagePtr Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = r;
        px[i + 1] = g;
        px[i + 2] = b;
        px[i + 3] = 255;
    }
    return CreateImage(w, h, px, 0);
}

void ExpectColour(Pixel p, int r, int g, int b, int tol, const char* where)
{
    EXPECT_NEAR(p.r, r, tol) << where;
    EXPECT_NEAR(p.g, g, tol) << where;
    EXPECT_NEAR(p.b, b, tol) << where;
}

TEST(DrawState, ClampsAndKeepsValues)
{
    struct { float in, out; } alphas[] = {{2.0f, 1}, {-0.5f, 0}, {0.25f, 0.25f}, {1, 1}, {0, 0}};
    for (auto a : alphas) {
        SetAlpha(a.in);
        EXPECT_FLOAT_EQ(GetAlpha(), a.out) << a.in;
    }
    SetColor(300, -4, 128);
    EXPECT_EQ(ColorRed(), 255);
    EXPECT_EQ(ColorGreen(), 0);
    EXPECT_EQ(ColorBlue(), 128);
    SetBlend(4);
    EXPECT_EQ(GetBlend(), 4);
    SetBlend(7); // unknown codes draw as alpha blending
    EXPECT_EQ(GetBlend(), 3);
    ResetDrawState();
}

// Alpha blending mixes with the background; additive light adds to it. The
// colour tints by multiplication in both.
struct BlendCase {
    const char* name;
    int blend;
    float alpha;
    int tint[3];
    int bg[3];
    int expect[3];
};

const BlendCase kBlends[] = {
    {"alpha_half_white", 3, 0.5f, {255, 255, 255}, {100, 100, 100}, {177, 177, 177}},
    {"alpha_opaque_tinted", 3, 1.0f, {255, 128, 0}, {10, 200, 30}, {255, 128, 0}},
    {"alpha_zero_leaves_background", 3, 0.0f, {255, 255, 255}, {10, 20, 30}, {10, 20, 30}},
    {"additive_half_tinted", 4, 0.5f, {200, 50, 0}, {40, 40, 40}, {140, 65, 40}},
    {"additive_saturates", 4, 1.0f, {255, 255, 255}, {100, 200, 0}, {255, 255, 255}},
    {"additive_on_black", 4, 0.25f, {255, 255, 255}, {0, 0, 0}, {64, 64, 64}},
};

class BlendTable : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendTable, OnImagesAndRectangles)
{
    const BlendCase& c = GetParam();
    ImagePtr white = Solid(8, 8, 255, 255, 255);
    for (bool image : {true, false}) {
        vmtest::FreshDisplay(32, 32);
        SetColor(c.bg[0], c.bg[1], c.bg[2]);
        DrawRect(0, 0, 32, 32);
        SetColor(c.tint[0], c.tint[1], c.tint[2]);
        SetAlpha(c.alpha);
        SetBlend(c.blend);
        if (image)
            DrawImage(white, 4, 4);
        else
            DrawRect(4, 4, 8, 8);
        ExpectColour(ReadPixel(8, 8), c.expect[0], c.expect[1], c.expect[2], 2, image ? "image" : "rect");
        ExpectColour(ReadPixel(20, 20), c.bg[0], c.bg[1], c.bg[2], 0, "outside");
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, BlendTable, ::testing::ValuesIn(kBlends),
                         [](const auto& p) { return std::string(p.param.name); });

// An 8 x 4 image, red on the left half and blue on the right, with its handle
// in the middle, turned about the handle: a positive angle turns clockwise.
TEST(DrawImage, RotatesAboutTheHandleClockwise)
{
    std::vector<uint8_t> px(8 * 4 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = &px[size_t(y * 8 + x) * 4];
            p[0] = x < 4 ? 255 : 0;
            p[2] = x < 4 ? 0 : 255;
            p[3] = 255;
        }
    ImagePtr img = CreateImage(8, 4, px, 0);
    img->MidHandle();
    struct { float angle; int redX, redY, blueX, blueY, emptyX, emptyY; } cases[] = {
        {0, 29, 32, 34, 32, 32, 28},    // unturned: red left, blue right, 4 high
        {90, 32, 29, 32, 34, 29, 32},   // clockwise: red above, blue below, 4 wide
        {-90, 32, 34, 32, 29, 35, 32},  // anticlockwise: red below
        {180, 34, 32, 29, 32, 32, 35},  // half turn: sides swapped
    };
    for (auto c : cases) {
        vmtest::FreshDisplay(64, 64);
        SetRotation(c.angle);
        DrawImage(img, 32, 32);
        EXPECT_EQ(ReadPixel(c.redX, c.redY).r, 255) << c.angle;
        EXPECT_EQ(ReadPixel(c.blueX, c.blueY).b, 255) << c.angle;
        Pixel e = ReadPixel(c.emptyX, c.emptyY);
        EXPECT_EQ(e.r + e.b, 0) << c.angle;
    }
}

// Clipping at the viewport cuts the picture, not squeezes it: the part left
// visible shows the same texels as without the viewport, also when turned.
TEST(DrawImage, ViewportCutsThroughTexturedQuads)
{
    std::vector<uint8_t> px(8 * 4 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = &px[size_t(y * 8 + x) * 4];
            p[0] = x < 4 ? 255 : 0;
            p[2] = x < 4 ? 0 : 255;
            p[3] = 255;
        }
    ImagePtr img = CreateImage(8, 4, px, 0);
    img->MidHandle(); // covers x 28..35 (red 28..31, blue 32..35), y 30..33
    struct { float angle; Rect view; int x, y; bool red, blue; } cases[] = {
        {0, {32, 0, 64, 64}, 32, 31, false, true},
        {0, {32, 0, 64, 64}, 31, 31, false, false},
        {0, {0, 0, 32, 64}, 31, 31, true, false},
        {0, {0, 0, 32, 64}, 32, 31, false, false},
        {90, {0, 32, 64, 32}, 32, 32, false, true},  // red turned above, cut away
        {90, {0, 32, 64, 32}, 32, 31, false, false},
        {90, {0, 0, 64, 32}, 32, 31, true, false},
    };
    for (auto c : cases) {
        vmtest::FreshDisplay(64, 64);
        SetViewport(c.view.x, c.view.y, c.view.w, c.view.h);
        SetRotation(c.angle);
        DrawImage(img, 32, 32);
        Pixel p = ReadPixel(c.x, c.y);
        EXPECT_EQ(p.r == 255, c.red) << c.angle << " at " << c.x << "," << c.y;
        EXPECT_EQ(p.b == 255, c.blue) << c.angle << " at " << c.x << "," << c.y;
    }
}

TEST(DrawImage, ScaleOriginAndHandlePlaceTheImage)
{
    ImagePtr img = Solid(4, 4, 0, 255, 0);
    vmtest::FreshDisplay(64, 64);
    img->SetHandle(4, 4); // bottom-right corner lands on the position
    SetOrigin(10, 20);
    SetScale(2, 3);
    DrawImage(img, 10, 10); // corner at (20, 30): covers x 12..19, y 18..29
    EXPECT_EQ(ReadPixel(12, 18).g, 255);
    EXPECT_EQ(ReadPixel(19, 29).g, 255);
    EXPECT_EQ(ReadPixel(11, 18).g, 0);
    EXPECT_EQ(ReadPixel(20, 29).g, 0);
    EXPECT_EQ(ReadPixel(19, 30).g, 0);
    EXPECT_EQ(ReadPixel(12, 17).g, 0);
    SetOrigin(0, 0);
    DrawImage(nullptr, 0, 0); // draws nothing, no crash
}

TEST(DrawImage, SubRectangleIsStretchedFromItsSource)
{
    // Four 2 x 2 quarters: red, green / blue, white.
    std::vector<uint8_t> px(4 * 4 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            uint8_t* p = &px[size_t(y * 4 + x) * 4];
            int q = (y / 2) * 2 + x / 2;
            p[0] = (q == 0 || q == 3) ? 255 : 0;
            p[1] = (q == 1 || q == 3) ? 255 : 0;
            p[2] = (q == 2 || q == 3) ? 255 : 0;
            p[3] = 255;
        }
    ImagePtr img = CreateImage(4, 4, px, 0);
    vmtest::FreshDisplay(64, 64);
    // The blue quarter stretched to 10 x 6 with its handle in the middle.
    DrawImageRect(img, 20, 20, 10, 6, 0, 2, 2, 2, 5, 3);
    ExpectColour(ReadPixel(15, 17), 0, 0, 255, 0, "top-left");
    ExpectColour(ReadPixel(24, 22), 0, 0, 255, 0, "bottom-right");
    ExpectColour(ReadPixel(25, 22), 0, 0, 0, 0, "right of it");
    ExpectColour(ReadPixel(15, 16), 0, 0, 0, 0, "above it");
}

TEST(DrawPrimitives, LinesIncludeTheirEndPixel)
{
    vmtest::FreshDisplay(32, 32);
    SetColor(255, 255, 255);
    DrawLine(2, 5, 6, 5);
    for (int x = 2; x <= 6; ++x)
        EXPECT_EQ(ReadPixel(x, 5).r, 255) << x;
    EXPECT_EQ(ReadPixel(1, 5).r, 0);
    EXPECT_EQ(ReadPixel(7, 5).r, 0);
    EXPECT_EQ(ReadPixel(4, 4).r, 0);
    EXPECT_EQ(ReadPixel(4, 6).r, 0);
    DrawLine(20, 9, 20, 3); // drawn upwards
    for (int y = 3; y <= 9; ++y)
        EXPECT_EQ(ReadPixel(20, y).r, 255) << y;
    EXPECT_EQ(ReadPixel(20, 2).r, 0);
    EXPECT_EQ(ReadPixel(20, 10).r, 0);
    DrawLine(10, 20, 10, 20); // a single point
    EXPECT_EQ(ReadPixel(10, 20).r, 255);
    EXPECT_EQ(ReadPixel(11, 20).r, 0);
}

TEST(DrawPrimitives, ViewportClipsAndOriginShifts)
{
    vmtest::FreshDisplay(32, 32);
    SetViewport(8, 8, 8, 4);
    EXPECT_EQ(GetViewport().w, 8);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 32, 32);
    EXPECT_EQ(ReadPixel(8, 8).r, 255);
    EXPECT_EQ(ReadPixel(15, 11).r, 255);
    EXPECT_EQ(ReadPixel(7, 8).r, 0);
    EXPECT_EQ(ReadPixel(16, 8).r, 0);
    EXPECT_EQ(ReadPixel(8, 12).r, 0);
    // The viewport is not moved by the origin.
    SetOrigin(20, 20);
    SetColor(0, 255, 0);
    DrawRect(-20, -20, 32, 32);
    EXPECT_EQ(ReadPixel(9, 9).g, 255);
    EXPECT_EQ(ReadPixel(20, 20).g, 0);
    SetOrigin(0, 0);
}

// Consecutive geometry with the same texture, blend mode and clip shares one
// renderer call; each change starts a new one.
TEST(Batching, CountsOneCallPerRunOfSameState)
{
    ImagePtr a = Solid(4, 4, 255, 0, 0), b = Solid(4, 4, 0, 255, 0);
    struct Case {
        const char* name;
        void (*draw)(const ImagePtr&, const ImagePtr&);
        int batches, quads;
    } cases[] = {
        {"same image", [](const ImagePtr& x, const ImagePtr&) { for (int i = 0; i < 100; ++i) DrawImage(x, float(i % 30), 3); }, 1, 100},
        {"rotated and tinted still batch", [](const ImagePtr& x, const ImagePtr&) {
             for (int i = 0; i < 50; ++i) { SetRotation(float(i * 7)); SetColor(i * 5, 255, 0); SetAlpha(0.5f); DrawImage(x, 16, 16); } }, 1, 50},
        {"alternating images", [](const ImagePtr& x, const ImagePtr& y) { for (int i = 0; i < 10; ++i) DrawImage(i % 2 ? y : x, 5, 5); }, 10, 10},
        {"alternating blend", [](const ImagePtr& x, const ImagePtr&) { for (int i = 0; i < 6; ++i) { SetBlend(i % 2 ? 4 : 3); DrawImage(x, 5, 5); } }, 6, 6},
        {"rects and lines share", [](const ImagePtr&, const ImagePtr&) { DrawRect(1, 1, 3, 3); DrawLine(0, 0, 9, 9); DrawRect(5, 5, 2, 2); }, 1, 3},
        {"viewport change keeps the batch", [](const ImagePtr& x, const ImagePtr&) { DrawImage(x, 1, 1); SetViewport(0, 0, 10, 10); DrawImage(x, 1, 1); }, 1, 2},
        {"off-screen costs nothing", [](const ImagePtr& x, const ImagePtr&) { DrawImage(x, 500, 500); DrawImage(x, -50, 0); }, 0, 2},
    };
    for (const Case& c : cases) {
        vmtest::FreshDisplay(32, 32);
        Flip(); // start a fresh frame
        c.draw(a, b);
        Flip();
        EXPECT_EQ(LastFrameStats().batches, c.batches) << c.name;
        EXPECT_EQ(LastFrameStats().quads, c.quads) << c.name;
        ResetDrawState();
    }
}

// Headless frames that are not captured run the drawing logic without
// rasterising; a captured frame is drawn and can be saved.
TEST(NullBackend, SkipsRasterisingUntilAFrameIsCaptured)
{
    SetClock(std::make_shared<VirtualClock>());
    ImagePtr img = Solid(4, 4, 255, 255, 0);
    vmtest::FreshDisplay(32, 32);
    SetRasterising(false);
    EXPECT_FALSE(IsRasterising());
    SetColor(255, 255, 255);
    DrawRect(0, 0, 32, 32);
    DrawImage(img, 2, 2);
    DrawText("ab", 10, 10);
    EXPECT_GE(CurrentFrameStats().quads, 4);
    EXPECT_EQ(ReadPixel(1, 1).r, 0);
    Flip();
    EXPECT_GE(LastFrameStats().batches, 2);

    CaptureNextFrame();
    EXPECT_TRUE(IsRasterising());
    ResetDrawState();
    DrawImage(img, 2, 2);
    Flip();
    EXPECT_FALSE(IsRasterising());
    std::string path = vmtest::ScratchDir("null_backend") + "/shot.png";
    ASSERT_TRUE(SaveScreenshot(path));
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    ASSERT_TRUE(DecodeImageFile(path, w, h, px));
    ASSERT_EQ(w, 32);
    ASSERT_EQ(h, 32);
    const uint8_t* inside = &px[size_t(3 * 32 + 3) * 4];
    EXPECT_EQ(inside[0], 255);
    EXPECT_EQ(inside[1], 255);
    EXPECT_EQ(inside[2], 0);
    const uint8_t* outside = &px[size_t(20 * 32 + 20) * 4];
    EXPECT_EQ(outside[0], 0);

    // Drawing more without a capture leaves the saved frame as it was.
    SetColor(255, 0, 0);
    DrawRect(0, 0, 32, 32);
    Flip();
    ASSERT_TRUE(SaveScreenshot(path));
    ASSERT_TRUE(DecodeImageFile(path, w, h, px));
    EXPECT_EQ(px[size_t(20 * 32 + 20) * 4], 0);
    SetRasterising(true);
    SetClock(nullptr);
}

TEST(FrameLimit, FlipHoldsSixtyFramesPerSecond)
{
    auto clock = std::make_shared<VirtualClock>(5000);
    SetClock(clock);
    vmtest::FreshDisplay(16, 16);
    SetFrameLimit(60);
    Flip();
    int64_t start = clock->Millis();
    for (int i = 0; i < 60; ++i)
        Flip();
    EXPECT_NEAR(double(clock->Millis() - start), 1000.0, 2.0);
    // A slow frame is not followed by a burst of short ones to catch up.
    clock->Advance(500);
    Flip();
    for (int i = 0; i < 4; ++i) {
        int64_t before = clock->Millis();
        Flip();
        EXPECT_GE(clock->Millis() - before, 16) << i;
    }
    // Without a limit nothing waits.
    SetFrameLimit(0);
    int64_t before = clock->Millis();
    for (int i = 0; i < 10; ++i)
        Flip();
    EXPECT_EQ(clock->Millis(), before);
    SetFrameLimit(60);
    SetClock(nullptr);
}

} // namespace
