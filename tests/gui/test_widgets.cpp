// Widgets driven frame by frame: scripted mouse input through the platform
// queue and the mouse object, a fixed frame factor and a hand-moved clock;
// drawing checked on pixels of a headless software display.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/control.h"
#include "app/platform/platform.h"
#include "fx/timing.h"
#include "gui/fonts.h"
#include "gui/mouse.h"
#include "gui/widgets.h"
#include "support/headless.h"

namespace {

// ---- Frame-by-frame driving ----

class WidgetFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetInput();
        app::Control::SetWideLayout(0);
        gui::Mouse() = gui::TMouse{};
        clock_ = 1000;
        fx::SetAppClockSource([this] { return clock_; });
        fx::SetFrameFactorSource([] { return 1.0f; });
        gui::SetClickSoundHook([this] { ++clicks_; });
        root_ = app::CreateAppObj("root", 100, 50);
    }
    void TearDown() override
    {
        gui::SetClickSoundHook({});
        fx::SetAppClockSource({});
        fx::SetFrameFactorSource({});
        platform::ResetInput();
        gui::Mouse() = gui::TMouse{};
    }

    // One frame as the main loop runs it: events, the mouse refresh, the tree.
    void Frame()
    {
        platform::PollEvents();
        gui::Mouse().update();
        root_->Update();
    }

    int64_t clock_ = 0;
    int clicks_ = 0;
    app::TAppObjPtr root_;
};

// A 40 x 20 button at local (20, 10) under the root at (100, 50): its hit
// rectangle is (120, 60) to (160, 80), edges included.
constexpr float kIn = 130, kInY = 70;
constexpr float kOut = 300, kOutY = 300;

struct MouseStep {
    std::optional<std::pair<float, float>> move; // pointer moves before the frame
    std::optional<bool> left;                    // left button goes down / up before the frame
    int over, held, pressed;                     // states after the frame
    int textState;                               // what a text button shows
};

struct MouseCase {
    const char* name;
    std::vector<MouseStep> steps;
    int clicks;
};

const MouseCase kMouseCases[] = {
    {"press and release inside",
     {{{{kIn, kInY}}, {}, 1, 0, 0, 1},
      {{}, true, 1, 1, 0, 2},
      {{}, {}, 0, 1, 0, 2}, // held since the last frame: no longer "over"
      {{}, false, 0, 0, 1, 2}, // one frame of isPressed
      {{}, {}, 1, 0, 0, 1}},
     1},
    {"press inside, release outside",
     {{{{kIn, kInY}}, true, 1, 1, 0, 2}, // over and down in the same frame: held at once
      {{{kOut, kOutY}}, {}, 0, 1, 0, 2},
      {{}, false, 0, 0, 0, 0},
      {{}, {}, 0, 0, 0, 0}},
     0},
    {"press outside, drag in, release inside",
     {{{{kOut, kOutY}}, true, 0, 0, 0, 0},
      {{{kIn, kInY}}, {}, 1, 1, 0, 2}, // held on entering with the button down
      {{}, false, 0, 0, 1, 2},
      {{}, {}, 1, 0, 0, 1}},
     1},
    // (Placements carry float rounding, so the probes stay a hair inside.)
    {"the rectangle reaches the corners",
     {{{{159.99f, 79.99f}}, {}, 1, 0, 0, 1},
      {{{120.01f, 60.01f}}, {}, 1, 0, 0, 1},
      {{{160.5f, 80}}, {}, 0, 0, 0, 0},
      {{{120, 59.5f}}, {}, 0, 0, 0, 0}},
     0},
};

TEST_F(WidgetFrames, MouseModelOfButtons)
{
    for (const MouseCase& c : kMouseCases) {
        SCOPED_TRACE(c.name);
        root_ = app::CreateAppObj("root", 100, 50);
        auto image = gui::CreateUIImage(gui::kEmptyImage, 20, 10, root_.get());
        image->w = 40;
        image->h = 20;
        image->isAvailableForClicking = 1;
        auto text = gui::CreateUITextButton("Go", 20, 10, 40, 20, root_.get(), {});
        root_->Calculate();
        platform::ResetInput();
        gui::Mouse() = gui::TMouse{};
        clicks_ = 0;

        int frame = 0;
        for (const MouseStep& s : c.steps) {
            ++frame;
            if (s.move)
                platform::InjectMouseMove(s.move->first, s.move->second);
            if (s.left)
                platform::InjectMouseButton(platform::kMouseLeft, *s.left);
            Frame();
            for (const gui::TUIObject* w : {static_cast<gui::TUIObject*>(image.get()),
                                            static_cast<gui::TUIObject*>(text.get())}) {
                EXPECT_EQ(w->isOver, s.over) << "frame " << frame;
                EXPECT_EQ(w->isHolded, s.held) << "frame " << frame;
                EXPECT_EQ(w->isPressed, s.pressed) << "frame " << frame;
            }
            EXPECT_EQ(text->CurrState, s.textState) << "frame " << frame;
        }
        // Both widgets clicked: one sound each.
        EXPECT_EQ(clicks_, 2 * c.clicks);
    }
}

TEST_F(WidgetFrames, HitRectangleFollowsHandleAndLastFramesPosition)
{
    auto button = gui::CreateUILightButton(platform::ImagePtr(), 0, 0, root_.get());
    button->w = 10;
    button->h = 10;
    button->SetHandle(5, 5); // the rectangle is centred on the position
    root_->Calculate();
    platform::InjectMouseMove(97, 47);
    Frame();
    EXPECT_EQ(button->isOver, 1);

    // Moving the object: the hit test of the next frame still uses the old
    // placement, the one after that the new one.
    button->SetXY(100, 0);
    Frame();
    EXPECT_EQ(button->isOver, 1);
    Frame();
    EXPECT_EQ(button->isOver, 0);
}

TEST_F(WidgetFrames, DeactivationForgetsAHold)
{
    auto button = gui::CreateUITextButton("Go", 20, 10, 40, 20, root_.get(), {});
    root_->Calculate();
    platform::InjectMouseMove(kIn, kInY);
    platform::InjectMouseButton(platform::kMouseLeft, true);
    Frame();
    ASSERT_EQ(button->isHolded, 1);

    struct Case {
        const char* name;
        void (*off)(gui::TUITextButton&);
    } const offs[] = {
        {"Deactivate", [](gui::TUITextButton& b) { b.Deactivate(); }},
        {"isActivated cleared", [](gui::TUITextButton& b) { b.isActivated = 0; }},
        {"not clickable", [](gui::TUITextButton& b) { b.isAvailableForClicking = 0; }},
    };
    for (const Case& c : offs) {
        SCOPED_TRACE(c.name);
        clicks_ = 0;
        c.off(*button);
        Frame();
        EXPECT_EQ(button->CurrState, button->isActivated ? 0 : 3);
        EXPECT_EQ(button->isOver, 0);
        // The release happens while the button does no hit testing ...
        platform::InjectMouseButton(platform::kMouseLeft, false);
        Frame();
        button->Activate();
        button->isAvailableForClicking = 1;
        // ... so coming back over it reports no click.
        Frame();
        EXPECT_EQ(button->isPressed, 0);
        EXPECT_EQ(button->isOver, 1);
        Frame();
        EXPECT_EQ(button->isPressed, 0);
        EXPECT_EQ(clicks_, 0);
        // Held again for the next case.
        platform::InjectMouseButton(platform::kMouseLeft, true);
        Frame();
        ASSERT_EQ(button->isHolded, 1);
    }
}

TEST_F(WidgetFrames, ClearButtonsReachesWidgetsInTheTree)
{
    auto panel = app::CreateAppObj("panel", 0, 0, root_.get());
    auto button = gui::CreateUITextButton("Go", 20, 10, 40, 20, panel.get(), {});
    root_->Calculate();
    platform::InjectMouseMove(kIn, kInY);
    platform::InjectMouseButton(platform::kMouseLeft, true);
    Frame();
    ASSERT_EQ(button->isHolded, 1);
    root_->ClearButtons();
    EXPECT_EQ(button->isHolded, 0);
    platform::InjectMouseMove(kOut, kOutY);
    platform::InjectMouseButton(platform::kMouseLeft, false);
    Frame();
    EXPECT_EQ(button->isPressed, 0);
    EXPECT_EQ(clicks_, 0);
}

TEST_F(WidgetFrames, SlidesEaseToTheirEndAndDropTheFlagOneUpdateLater)
{
    struct Case {
        const char* name;
        bool in;
        int direction;
        int w, h;
        float speed;
        int delay;
        std::vector<std::pair<float, float>> positions; // local position after each update
        int flagClearedAt;                              // update (from 1) that clears the flag
    };
    const float s1 = platform::SinD(22.5f), s2 = platform::SinD(45.0f), s3 = platform::SinD(67.5f);
    const Case cases[] = {
        {"in from the right, speed 0.25", true, 3, 100, 40, 0.25f, 0,
         {{10 + 100 * (1 - s1), 20}, {10 + 100 * (1 - s2), 20}, {10 + 100 * (1 - s3), 20}, {10, 20}, {10, 20}},
         5},
        {"out to the top-left", false, 0, 100, 40, 0.25f, 0,
         {{10 - 100 * s1, 20 - 40 * s1}, {10 - 100 * s2, 20 - 40 * s2}, {10 - 100 * s3, 20 - 40 * s3},
          {-90, -20}, {-90, -20}},
         5},
        {"out with no width", false, 3, 0, 40, 0.5f, 0, {{10, 20}, {10, 20}, {10, 20}}, 3},
        {"in after a delay of 30 ms", true, 5, 100, 40, 0.5f, 30,
         {{10, 60}, {10, 60}, {10, 60 - 40 * s2}, {10, 20}, {10, 20}}, 5},
        {"direction out of the table", true, 9, 100, 40, 1.0f, 0, {{10, 20}, {10, 20}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        root_ = app::CreateAppObj("root", 0, 0);
        auto img = gui::CreateUIImage(gui::kEmptyImage, 10, 20, root_.get());
        img->w = c.w;
        img->h = c.h;
        clock_ = 1000;
        if (c.in)
            img->MoveIn(c.direction, c.speed, c.delay);
        else
            img->MoveOut(c.direction, c.speed, c.delay);
        EXPECT_TRUE(img->isMoving());
        int update = 0;
        for (auto [px, py] : c.positions) {
            ++update;
            clock_ += 10;
            root_->Update();
            EXPECT_NEAR(img->GetX(), px, 1e-3) << "update " << update;
            EXPECT_NEAR(img->GetY(), py, 1e-3) << "update " << update;
            EXPECT_EQ(img->isMoving(), update < c.flagClearedAt) << "update " << update;
        }
        EXPECT_EQ(c.in ? img->isMovingIn : img->isMovingOut, 0);
    }
}

TEST_F(WidgetFrames, CountersStepTowardTheirTarget)
{
    struct Case {
        const char* name;
        int start, target;
        bool instantly;
        int delay;
        int64_t tick; // clock advance per update
        std::vector<int> shown;
    } const cases[] = {
        {"up by one per update", 0, 5, false, 20, 25, {1, 2, 3, 4, 5, 5}},
        {"waits for the delay", 0, 3, false, 20, 15, {1, 1, 2, 2, 3, 3}},
        {"down", 3, 0, false, 20, 25, {2, 1, 0, 0}},
        {"instantly", 0, 5, true, 20, 25, {5, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clock_ = 1000;
        auto counter = gui::CreateUICounter(c.start, 0, 0, 100, 30, root_.get(), nullptr);
        counter->SetDelayTime(c.delay);
        counter->SetValue(c.target, c.instantly);
        EXPECT_EQ(counter->Text, std::to_string(c.instantly ? c.target : c.start));
        EXPECT_EQ(counter->dValue, c.target);
        int update = 0;
        for (int v : c.shown) {
            ++update;
            clock_ += c.tick;
            root_->Update();
            EXPECT_EQ(counter->Value, v) << "update " << update;
            EXPECT_EQ(counter->Text, std::to_string(v)) << "update " << update;
        }
        counter->RemoveFromParent();
    }
}

TEST_F(WidgetFrames, LightButtonGlowRisesFadesAndDropsOnClick)
{
    auto button = gui::CreateUILightButton(platform::ImagePtr(), 20, 10, root_.get());
    button->w = 40;
    button->h = 20;
    root_->Calculate();
    platform::InjectMouseMove(kIn, kInY);
    Frame();
    EXPECT_FLOAT_EQ(button->o, 0); // the first update only sets the target
    EXPECT_FLOAT_EQ(button->dO, 1);
    for (int i = 1; i <= 4; ++i) {
        Frame();
        EXPECT_NEAR(button->o, 0.05f * static_cast<float>(i), 1e-5) << i;
    }
    platform::InjectMouseButton(platform::kMouseLeft, true);
    Frame(); // held in this frame: still over, so still rising
    EXPECT_NEAR(button->o, 0.25f, 1e-5);
    Frame(); // held: the target is 0 now
    EXPECT_NEAR(button->o, 0.30f, 1e-5);
    Frame();
    EXPECT_NEAR(button->o, 0.25f, 1e-5);
    platform::InjectMouseButton(platform::kMouseLeft, false);
    Frame();
    EXPECT_EQ(button->isPressed, 1);
    EXPECT_FLOAT_EQ(button->o, 0);
    // Many frames over it: the glow stops at 1.
    for (int i = 0; i < 40; ++i)
        Frame();
    EXPECT_FLOAT_EQ(button->o, 1);
}

TEST(WidgetCreation, PicturesTakeTheSizeOfWhatTheyShow)
{
    std::vector<std::string> log;
    platform::SetLogSink([&log](const std::string& line) { log.push_back(line); });
    app::TAppObj parent;
    auto pic = platform::CreateImage(6, 4, std::vector<uint8_t>(6 * 4 * 4, 255));
    auto fromImage = gui::CreateUIImage(pic, 5, 6, &parent, -1, 2);
    auto fromFile = gui::CreateUIImage("tests/fixtures/gui/guifile/pic.png", 0, 0, &parent);
    auto missing = gui::CreateUIImage("tests/fixtures/gui/guifile/none.png", 0, 0, &parent);
    auto empty = gui::CreateUIImage(gui::kEmptyImage, 0, 0, &parent);
    platform::SetLogSink({});

    struct Case {
        const char* name;
        const gui::PUIImage& img;
        int w, h;
        bool hasImage;
    } const cases[] = {
        {"image", fromImage, 6, 4, true},
        {"file", fromFile, 30, 20, true},
        {"missing file", missing, 0, 0, false},
        {"[EMPTY]", empty, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.img->Parent, &parent);
        EXPECT_EQ(c.img->w, c.w);
        EXPECT_EQ(c.img->h, c.h);
        EXPECT_FLOAT_EQ(c.img->RectW, static_cast<float>(c.w));
        EXPECT_FLOAT_EQ(c.img->RectSH, static_cast<float>(c.h));
        EXPECT_EQ(static_cast<bool>(c.img->obj), c.hasImage);
        EXPECT_FALSE(c.img->isAvailableForClicking);
    }
    EXPECT_EQ(fromImage->Frame, 2);
    EXPECT_FLOAT_EQ(fromImage->StandardX, 5);
    EXPECT_FLOAT_EQ(fromImage->StandardY, 6);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("none.png"), std::string::npos) << log[0];
}

// ---- Drawing ----

constexpr int kSize = 96;

class WidgetDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(kSize, kSize);
    }
    static void TearDownTestSuite()
    {
        gui::ClearFontCache();
        platform::Shutdown();
    }
    void SetUp() override
    {
        platform::SetRasterising(true);
        platform::SetVirtualResolution(kSize, kSize, 0);
        platform::ResetDrawState();
        platform::SetClearColor(0, 0, 0);
        platform::Cls();
        root_ = app::CreateAppObj("root", 0, 0);
    }

    void DrawTree()
    {
        root_->Calculate();
        root_->Draw();
    }

    // A 4 x 2 picture: left half red, right half blue.
    static platform::ImagePtr Halves()
    {
        std::vector<uint8_t> rgba;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool left = x < 2;
                rgba.insert(rgba.end(), {uint8_t(left ? 255 : 0), 0, uint8_t(left ? 0 : 255), 255});
            }
        return platform::CreateImage(4, 2, rgba, 0);
    }

    app::TAppObjPtr root_;
};

TEST_F(WidgetDraw, PictureWholeOrSourcePartStretched)
{
    auto whole = gui::CreateUIImage(Halves(), 10, 10, root_.get());
    auto part = gui::CreateUIImage(Halves(), 40, 10, root_.get());
    part->SetRect(20, 10, 2, 0, 2, 2); // the blue half, 20 x 10
    auto none = gui::CreateUIImage(gui::kEmptyImage, 70, 10, root_.get());
    none->w = 10;
    none->h = 10;
    DrawTree();

    struct Probe {
        int x, y;
        int r, g, b;
    } const probes[] = {
        {10, 10, 255, 0, 0}, {13, 11, 0, 0, 255}, {14, 10, 0, 0, 0}, // whole: 4 x 2 as it is
        {40, 10, 0, 0, 255}, {59, 19, 0, 0, 255}, {60, 10, 0, 0, 0}, // blue half stretched to 20 x 10
        {72, 12, 0, 0, 0},                                           // no picture: nothing
    };
    for (const Probe& p : probes) {
        const platform::Pixel px = platform::ReadPixel(p.x, p.y);
        EXPECT_EQ(px.r, p.r) << p.x << "," << p.y;
        EXPECT_EQ(px.g, p.g) << p.x << "," << p.y;
        EXPECT_EQ(px.b, p.b) << p.x << "," << p.y;
    }
}

TEST_F(WidgetDraw, LightButtonGlowAddsLight)
{
    std::vector<uint8_t> grey;
    for (int i = 0; i < 8 * 8; ++i)
        grey.insert(grey.end(), {100, 100, 100, 255});
    auto dark = gui::CreateUILightButton(platform::CreateImage(8, 8, grey, 0), 10, 10, root_.get(), 0.5f);
    auto lit = gui::CreateUILightButton(platform::CreateImage(8, 8, grey, 0), 30, 10, root_.get(), 0.5f);
    lit->o = 1; // additive copy at 1 * 1 * 0.5: 100 + 50
    DrawTree();
    EXPECT_EQ(platform::ReadPixel(12, 12).r, 100);
    EXPECT_NEAR(platform::ReadPixel(32, 12).r, 150, 2);
}

TEST_F(WidgetDraw, TextButtonDrawsTheClassOfItsState)
{
    // A full block glyph so that the middle of the text is solid colour.
    const std::string block = "\xE2\x96\x88";
    platform::FontPtr font = gui::GetFont("Game/gfx/font2.ttf", 32);
    ASSERT_TRUE(font);
    std::vector<gui::PTextClass> classes = {
        gui::NewTextClass(font, CreateRGB(255, 0, 0, 1), std::nullopt, std::nullopt),
        gui::NewTextClass(font, CreateRGB(0, 255, 0, 1), std::nullopt, std::nullopt),
        gui::NewTextClass(font, CreateRGB(0, 0, 255, 1), std::nullopt, std::nullopt),
        gui::NewTextClass(font, CreateRGB(255, 255, 0, 1), std::nullopt, std::nullopt),
    };
    auto button = gui::CreateUITextButton(block, 0, 0, kSize, kSize, root_.get(), classes);
    button->vAlign = 0; // text buttons are centred whatever their vAlign says

    struct Case {
        int state;
        int r, g, b;
    } const cases[] = {{0, 255, 0, 0}, {1, 0, 255, 0}, {2, 0, 0, 255}, {3, 255, 255, 0}};
    for (const Case& c : cases) {
        platform::Cls();
        button->CurrState = c.state;
        DrawTree();
        // Centred both ways in the 96 x 96 box.
        const platform::Pixel px = platform::ReadPixel(kSize / 2, kSize / 2);
        EXPECT_EQ(px.r, c.r) << "state " << c.state;
        EXPECT_EQ(px.g, c.g) << "state " << c.state;
        EXPECT_EQ(px.b, c.b) << "state " << c.state;
        EXPECT_EQ(platform::ReadPixel(1, 1).r, 0) << "outside the glyph";
    }

    // A caption with the same text but the fresh class of a new caption draws nothing.
    platform::Cls();
    button->RemoveFromParent();
    gui::CreateUIText(block, 0, 0, kSize, kSize, root_.get());
    DrawTree();
    EXPECT_EQ(platform::ReadPixel(kSize / 2, kSize / 2).r, 0);
}

TEST_F(WidgetDraw, CaptionsAlignVertically)
{
    const std::string block = "\xE2\x96\x88";
    platform::FontPtr font = gui::GetFont("Game/gfx/font2.ttf", 24);
    ASSERT_TRUE(font);
    auto white = gui::NewTextClass(font, CreateRGB(255, 255, 255, 1), std::nullopt, std::nullopt);

    // First and last lit row of the column through the middle of the box.
    auto litRows = [] {
        int first = -1, last = -1;
        for (int y = 0; y < kSize; ++y)
            if (platform::ReadPixel(kSize / 2, y).r > 128) {
                if (first < 0)
                    first = y;
                last = y;
            }
        return std::make_pair(first, last);
    };
    for (int vAlign : {0, 1, 2}) {
        SCOPED_TRACE("vAlign " + std::to_string(vAlign));
        root_ = app::CreateAppObj("root", 0, 0);
        auto caption = gui::CreateUIText(block, 0, 0, kSize, kSize, root_.get(), white);
        caption->SetAlign(1);
        caption->vAlign = vAlign;
        platform::Cls();
        DrawTree();
        const auto [first, last] = litRows();
        if (vAlign == 0) {
            ASSERT_GE(first, 0);
            EXPECT_LT(first, 12) << "drawn from the top of the box";
        } else if (vAlign == 1) {
            ASSERT_GE(first, 0);
            EXPECT_NEAR((first + last) / 2.0, kSize / 2.0, 8) << "centred in the box";
            EXPECT_GT(first, 20);
        } else {
            EXPECT_EQ(first, -1) << "other values draw nothing";
        }
    }
}

} // namespace
