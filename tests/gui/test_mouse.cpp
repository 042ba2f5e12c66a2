// The mouse object refreshed frame by frame from injected input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/control.h"
#include "app/paths.h"
#include "app/platform/input.h"
#include "game/startup.h"
#include "gui/textclasses.h"
#include "gui/mouse.h"

namespace {

class MouseFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetInput();
        app::Control::SetWideLayout(0);
        mouse_ = gui::TMouse{};
    }
    void TearDown() override { platform::ResetInput(); }

    // One frame step: the events so far reach the platform, then the refresh.
    void Frame()
    {
        platform::PollEvents();
        mouse_.update();
    }

    gui::TMouse mouse_;
};

TEST_F(MouseFrames, PressesCountPerFrameAndHeldButtonsStay)
{
    using platform::kMouseLeft, platform::kMouseMiddle, platform::kMouseRight;
    struct Step {
        std::vector<std::pair<int, bool>> events; // button, down
        int left, right, mid;                     // presses seen by this frame
        int leftHeld, rightHeld, midHeld;
    } steps[] = {
        {{{kMouseLeft, true}}, 1, 0, 0, 1, 0, 0},                        // pressed and held
        {{}, 0, 0, 0, 1, 0, 0},                                          // still held, no new press
        {{{kMouseLeft, false}, {kMouseRight, true}}, 0, 1, 0, 0, 1, 0},  // release, right press
        {{{kMouseRight, false}, {kMouseMiddle, true}, {kMouseMiddle, false}}, 0, 0, 1, 0, 0, 0},
        {{{kMouseLeft, true}, {kMouseLeft, false}, {kMouseLeft, true}, {kMouseLeft, false}}, 2, 0, 0, 0, 0, 0},
        {{}, 0, 0, 0, 0, 0, 0}, // the counts were taken by the previous frame
    };
    int frame = 0;
    for (const Step& s : steps) {
        ++frame;
        for (auto [button, down] : s.events)
            platform::InjectMouseButton(button, down);
        Frame();
        EXPECT_EQ(mouse_.leftPressed, s.left) << "frame " << frame;
        EXPECT_EQ(mouse_.rightPressed, s.right) << "frame " << frame;
        EXPECT_EQ(mouse_.midPressed, s.mid) << "frame " << frame;
        EXPECT_EQ(mouse_.leftHolded, s.leftHeld) << "frame " << frame;
        EXPECT_EQ(mouse_.rightHolded, s.rightHeld) << "frame " << frame;
        EXPECT_EQ(mouse_.midHolded, s.midHeld) << "frame " << frame;
    }
}

TEST_F(MouseFrames, PositionMovementAndWheel)
{
    platform::InjectMouseMove(100.5f, 200);
    Frame();
    platform::InjectMouseMove(110, 190);
    platform::InjectMouseWheel(2);
    Frame();
    EXPECT_FLOAT_EQ(mouse_.x, 110);
    EXPECT_FLOAT_EQ(mouse_.y, 190);
    EXPECT_FLOAT_EQ(mouse_.vx, 9.5f);
    EXPECT_FLOAT_EQ(mouse_.vy, -10);
    EXPECT_FLOAT_EQ(mouse_.z, 2);
    EXPECT_FLOAT_EQ(mouse_.vz, 2);
    Frame();
    EXPECT_FLOAT_EQ(mouse_.vx, 0);
    EXPECT_FLOAT_EQ(mouse_.vz, 0);

    // In the wide layout the design area starts 171 units into the screen.
    app::Control::SetWideLayout(1);
    platform::InjectMouseMove(171 + 40, 50);
    Frame();
    EXPECT_FLOAT_EQ(mouse_.x, 40);
    EXPECT_EQ(mouse_.GetX(), 40);
    app::Control::SetWideLayout(0);
}

TEST_F(MouseFrames, ClearHidesThePointerUntilTheNextRefresh)
{
    platform::InjectMouseMove(300, 300);
    platform::InjectMouseButton(platform::kMouseLeft, true);
    Frame();
    ASSERT_TRUE(mouse_.inRect(290, 290, 20, 20));
    mouse_.clear();
    EXPECT_EQ(mouse_.leftPressed + mouse_.leftHolded, 0);
    for (float top = 0; top < 768; top += 64)
        EXPECT_FALSE(mouse_.inRect(0, top, 1024, 64));
    // The next refresh finds the pointer where it is, without a jump from the
    // parking spot, and the button still down.
    Frame();
    EXPECT_TRUE(mouse_.inRect(290, 290, 20, 20));
    EXPECT_EQ(mouse_.leftHolded, 1);
    EXPECT_FLOAT_EQ(mouse_.vx, 0);
    EXPECT_FLOAT_EQ(mouse_.vy, 0);
}

TEST(Mouse, RectangleEdgesCount)
{
    gui::TMouse m;
    m.x = 50;
    m.y = 20;
    struct Case {
        float left, top, w, h;
        bool in;
    } cases[] = {
        {10, 10, 40, 40, true},    // pointer on the right edge
        {50, 20, 5, 5, true},      // on the top-left corner
        {10, 0, 39.9f, 40, false}, // just short of it
        {10, 21, 40, 40, false},   // above the top
        {10, 0, 40, 20, true},     // on the bottom edge
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m.inRect(c.left, c.top, c.w, c.h), c.in) << c.left << "," << c.top << "," << c.w << "," << c.h;
        EXPECT_EQ(m.inDim(CreateDim(c.left, c.top, c.w, c.h)), c.in);
    }
    m.x = 7.9f;
    m.y = -0.5f;
    EXPECT_EQ(m.GetX(), 7);
    EXPECT_EQ(m.GetY(), 0);
}

// A whole headless run: the frame step refreshes the mouse object from the
// scripted input, and start-up has made the program-wide text classes.
TEST(Mouse, RefreshedByTheFrameStepOfARun)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "velmora-mouse-run";
    fs::remove_all(dir);
    fs::create_directories(dir / "user");
    const fs::path script = dir / "input.txt";
    std::ofstream(script) << "2 move 300 200\n3 press\n";

    gui::Mouse() = gui::TMouse{};
    game::CmdOptions o;
    o.headless = true;
    o.frames = 4;
    o.userDir = (dir / "user").string();
    o.inputScript = script.string();
    ASSERT_EQ(game::RunGame(o), 0);

    EXPECT_FLOAT_EQ(gui::Mouse().x, 300);
    EXPECT_FLOAT_EQ(gui::Mouse().y, 200);
    EXPECT_EQ(gui::Mouse().leftHolded, 1);
    ASSERT_TRUE(gui::TextClass(gui::kProgramTextClassCount));
    EXPECT_TRUE(gui::TextClass(gui::kProgramTextClassCount)->Font);

    app::Control::Reset();
    app::SetGameDir("Game/");
    platform::ResetInput();
    fs::remove_all(dir);
}

} // namespace
