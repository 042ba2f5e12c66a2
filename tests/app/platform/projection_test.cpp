// The virtual projection: scale, projected area, offsets and viewport per
// mode, the back buffer it is applied to, and the pointer mapped back.
#include <gtest/gtest.h>

#include <cmath>

#include "platform_env.h"

using namespace platform;

namespace {

struct ProjectionCase {
    const char* name;
    float w, h;
    int mode, gw, gh;
    float scaleX, scaleY, areaW, areaH, offsetX, offsetY;
    Rect viewport;
    bool letterbox;
};

const ProjectionCase kCases[] = {
    // A 1280-wide desktop: a 1024 x 768 window showing the 1366 x 768 area
    // letter-boxed (bands above and below).
    {"narrow_window_wide_area", 1366, 768, 3, 1024, 768, 1024.f / 1366, 1024.f / 1366, 1366, 1024.5f, 0, 128.25f,
     {0, 128.25f, 1366, 768}, true},
    // A 1920 x 1080 desktop: a 1366 x 768 window with the 1024-wide design
    // area centred, the sides visible.
    {"wide_window_design_area", 1024, 768, 2, 1366, 768, 1, 1, 1366, 768, 171, 0, {0, 0, 1366, 768}, false},
    // Mode 0 stretches exactly w x h over the buffer; the viewport rounds up.
    {"stretched", 800, 600, 0, 1024, 768, 1.28f, 1.28f, 800, 600, 0, 0, {0, 0, 800, 600}, false},
    {"stretched_fraction", 800.5f, 600, 0, 1600, 900, 1600 / 800.5f, 1.5f, 800.5f, 600, 0, 0, {0, 0, 801, 600}, false},
    // Full screen 1920 x 1080 with the wide area: limited by the width.
    {"fullscreen_wide", 1366, 768, 3, 1920, 1080, 1920.f / 1366, 1920.f / 1366, 1366, 1080 * 1366.f / 1920, 0,
     (1080 * 1366.f / 1920 - 768) * 0.5f, {0, (1080 * 1366.f / 1920 - 768) * 0.5f, 1366, 768}, true},
    // Modes 2 and 3 differ only by the letter-box bit.
    {"fullscreen_wide_no_box", 1366, 768, 2, 1920, 1080, 1920.f / 1366, 1920.f / 1366, 1366, 1080 * 1366.f / 1920, 0,
     (1080 * 1366.f / 1920 - 768) * 0.5f, {0, 0, 1366, 1080 * 1366.f / 1920}, false},
    {"mode1_same_as_3", 1366, 768, 1, 1024, 768, 1024.f / 1366, 1024.f / 1366, 1366, 1024.5f, 0, 128.25f,
     {0, 128.25f, 1366, 768}, true},
    // The bit of value 4: whole-number scale, floored offsets.
    {"integral_letterbox", 1366, 768, 5, 1920, 1080, 1, 1, 1920, 1080, 277, 156, {277, 156, 1366, 768}, true},
    {"integral_double", 640, 480, 6, 1920, 1080, 2, 2, 960, 540, 160, 30, {0, 0, 960, 540}, false},
    // A buffer smaller than the area keeps scale 1 and a negative offset.
    {"integral_never_below_one", 1366, 768, 4, 1024, 768, 1, 1, 1024, 768, -171, 0, {0, 0, 1024, 768}, false},
    {"integral_floor_of_negative_half", 1365, 768, 4, 1024, 768, 1, 1, 1024, 768, -171, 0, {0, 0, 1024, 768}, false},
};

class ProjectionTable : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(ProjectionTable, MatchesTheExpectedLayout)
{
    const ProjectionCase& c = GetParam();
    Projection p = ComputeProjection(c.w, c.h, c.mode, c.gw, c.gh);
    const float eps = 1e-3f;
    EXPECT_NEAR(p.scaleX, c.scaleX, eps);
    EXPECT_NEAR(p.scaleY, c.scaleY, eps);
    EXPECT_NEAR(p.areaW, c.areaW, 0.01f);
    EXPECT_NEAR(p.areaH, c.areaH, 0.01f);
    EXPECT_NEAR(p.offsetX, c.offsetX, 0.01f);
    EXPECT_NEAR(p.offsetY, c.offsetY, 0.01f);
    EXPECT_NEAR(p.viewport.x, c.viewport.x, 0.01f);
    EXPECT_NEAR(p.viewport.y, c.viewport.y, 0.01f);
    EXPECT_NEAR(p.viewport.w, c.viewport.w, 0.01f);
    EXPECT_NEAR(p.viewport.h, c.viewport.h, 0.01f);
    EXPECT_EQ(p.letterbox, c.letterbox);
    // The projected area always covers exactly the back buffer.
    EXPECT_NEAR(p.areaW * p.scaleX, float(c.gw), 0.05f);
    EXPECT_NEAR(p.areaH * p.scaleY, float(c.gh), 0.05f);
}

INSTANTIATE_TEST_SUITE_P(Modes, ProjectionTable, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Projection, DegenerateSizesGiveAnIdentityMapping)
{
    for (auto [w, h, gw, gh] : {std::tuple{0.f, 768.f, 1024, 768}, {1366.f, -1.f, 1024, 768}, {1366.f, 768.f, 0, 0}}) {
        Projection p = ComputeProjection(w, h, 3, gw, gh);
        EXPECT_EQ(p.scaleX, 1);
        EXPECT_EQ(p.scaleY, 1);
        EXPECT_FALSE(std::isnan(p.offsetX));
    }
}

// Applying a letter-boxed projection clears the whole buffer once in the
// border colour and sets the origin to the offsets; drawing then cannot reach
// the bands.
TEST(Projection, LetterboxClearsTheBufferAndClipsDrawing)
{
    vmtest::FreshDisplay(300, 150);
    SetColor(255, 255, 255);
    DrawRect(0, 0, 300, 150);
    // A 300 x 150 buffer showing a 400 x 150 area: scale 0.75, projected
    // 400 x 200, bands of 25 units (18.75 pixels) above and below.
    SetVirtualResolution(400, 150, 3);
    const Projection& p = CurrentProjection();
    EXPECT_NEAR(p.offsetY, 25, 0.01f);
    EXPECT_NEAR(OriginX(), 0, 0.01f);
    EXPECT_NEAR(OriginY(), 25, 0.01f);
    EXPECT_EQ(ReadPixel(150, 75).r, 0); // cleared everywhere
    SetColor(200, 0, 0);
    DrawRect(-500, -500, 2000, 2000); // relative to the origin, far beyond every edge
    EXPECT_EQ(ReadPixel(150, 5).r, 0);    // band above
    EXPECT_EQ(ReadPixel(150, 17).r, 0);
    EXPECT_EQ(ReadPixel(150, 140).r, 0);  // band below
    EXPECT_EQ(ReadPixel(150, 20).r, 200);
    EXPECT_EQ(ReadPixel(150, 130).r, 200);
    EXPECT_EQ(ReadPixel(0, 75).r, 200);
    EXPECT_EQ(ReadPixel(299, 75).r, 200);
}

TEST(Projection, PositionsAreScaledAndOffsetOntoPixels)
{
    vmtest::FreshDisplay(200, 100);
    SetVirtualResolution(100, 100, 2); // scale 1, area 200 x 100, offset x 50
    SetColor(0, 255, 0);
    DrawRect(0, 0, 1, 1); // design-area corner
    EXPECT_EQ(ReadPixel(50, 0).g, 255);
    EXPECT_EQ(ReadPixel(49, 0).g, 0);
    vmtest::FreshDisplay(200, 100);
    SetVirtualResolution(50, 25, 0); // stretched: 4 pixels per unit
    SetColor(0, 0, 255);
    DrawRect(10, 10, 1, 1);
    EXPECT_EQ(ReadPixel(40, 40).b, 255);
    EXPECT_EQ(ReadPixel(43, 43).b, 255);
    EXPECT_EQ(ReadPixel(44, 44).b, 0);
    EXPECT_EQ(ReadPixel(39, 39).b, 0);
}

// The pointer reads in design-area units: the window position mapped through
// the projection minus the offsets. Injected moves in those units come back
// unchanged.
struct PointerCase {
    const char* name;
    int gw, gh;
    float w, h;
    int mode;
    float px, py;  // back-buffer pixels
    float vx, vy;  // expected pointer
};

const PointerCase kPointer[] = {
    {"narrow_window_centre", 1024, 768, 1366, 768, 3, 512, 384, 683, 384},
    {"narrow_window_top_band", 1024, 768, 1366, 768, 3, 0, 0, 0, -128.25f},
    {"wide_window_left_edge", 1366, 768, 1024, 768, 2, 0, 10, -171, 10},
    {"wide_window_design_corner", 1366, 768, 1024, 768, 2, 171, 0, 0, 0},
    {"stretched", 1024, 768, 512, 384, 0, 100, 50, 50, 25},
    {"integral_double", 1920, 1080, 640, 480, 6, 400, 100, 40, 20},
};

class PointerTable : public ::testing::TestWithParam<PointerCase> {};

TEST_P(PointerTable, MapsPixelsToDesignUnits)
{
    const PointerCase& c = GetParam();
    vmtest::FreshDisplay(c.gw, c.gh);
    SetVirtualResolution(c.w, c.h, c.mode);
    ResetInput();
    InjectMousePixels(c.px, c.py);
    PollEvents();
    EXPECT_NEAR(MouseX(), c.vx, 0.01f);
    EXPECT_NEAR(MouseY(), c.vy, 0.01f);
    // The same position injected in design units reads back as given.
    InjectMouseMove(c.vx, c.vy);
    PollEvents();
    EXPECT_NEAR(MouseX(), c.vx, 0.01f);
    EXPECT_NEAR(MouseY(), c.vy, 0.01f);
    // Moving the drawing origin does not move the pointer.
    SetOrigin(37, 11);
    EXPECT_NEAR(MouseX(), c.vx, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Modes, PointerTable, ::testing::ValuesIn(kPointer),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace

namespace {

// Switching the display size recomputes the projection; an origin the caller
// placed relative to the design area stays there.
TEST(Projection, ReopeningTheDisplayKeepsTheLayout)
{
    vmtest::FreshDisplay(1366, 768);
    SetVirtualResolution(1366, 768, 3);
    SetOrigin(171, 0); // the design area inside the wide area
    ASSERT_TRUE(OpenDisplay(1024, 768, 0));
    const Projection& p = CurrentProjection();
    EXPECT_EQ(p.gw, 1024);
    EXPECT_NEAR(p.offsetY, 128.25f, 0.01f);
    EXPECT_NEAR(OriginX(), 171, 0.01f);
    EXPECT_NEAR(OriginY(), 128.25f, 0.01f);
    EXPECT_TRUE(p.letterbox);
}

} // namespace
