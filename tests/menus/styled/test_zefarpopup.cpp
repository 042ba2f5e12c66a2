// Styled pop-ups: the edges they slide in from, in rotation; the lock while
// they slide, so no input reaches them; the slide out and the hide at its end.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/control.h"
#include "app/deltatime.h"
#include "app/globalvars.h"
#include "app/platform/platform.h"
#include "menus/styled/zefarpopup.h"

namespace {

using app::Control;

class TestPopUp : public menus::TZefarPopUp {
public:
    explicit TestPopUp(std::string name) { Name = std::move(name); }
    void Interface() override { ++interfaceCalls; }
    void OnShow() override { ++shows; }
    void OnHide() override { ++hides; }
    int interfaceCalls = 0, shows = 0, hides = 0;
};

class ZefarPopUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<platform::VirtualClock>(1000);
        platform::SetClock(clock);
        platform::ResetInput();
        Control::Reset();
        // 16 ms per step at 62.5 frames per second: a frame factor of exactly 1.
        app::MainDeltaTime().SetFPS(62.5f);
        app::SetEventPump([this] { clock->Advance(16); });
        app::ResetDeltaTime();
        app::GlobalVars::POPUPSHOWSPEED = 0.025f;
        menus::TZefarPopUp::ResetNextSide();
        screen = std::make_shared<app::TScreen>();
        screen->Init(1, "screen", 1);
        Control::SetCurrScreenInstantly(screen);
    }
    void TearDown() override
    {
        app::SetEventPump(nullptr);
        app::MainDeltaTime().SetFPS(60);
        Control::Reset();
        platform::SetClock(nullptr);
    }

    std::shared_ptr<TestPopUp> Make(const std::string& name)
    {
        auto p = std::make_shared<TestPopUp>(name);
        p->Init(101, name, 1);
        return p;
    }

    // One frame: timing, update, input.
    void Frame()
    {
        app::UpdateDeltaTime();
        screen->Update();
        Control::Interface();
    }

    std::shared_ptr<platform::VirtualClock> clock;
    std::shared_ptr<app::TScreen> screen;
};

TEST_F(ZefarPopUpTest, PopUpsComeFromTheFourEdgesInRotation)
{
    struct Side {
        int side;
        float startX, startY;
    } expected[] = {{0, 0, -768}, {1, 1366, 0}, {2, 0, 768}, {3, -1366, 0}, {0, 0, -768}};
    // Two different pop-ups take turns: the rotation is shared by all of them.
    auto a = Make("a");
    auto b = Make("b");
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        TestPopUp& p = i % 2 == 0 ? *a : *b;
        p.GoShow();
        EXPECT_EQ(p.Side, expected[i].side);
        EXPECT_EQ(p.StartX, expected[i].startX);
        EXPECT_EQ(p.StartY, expected[i].startY);
        EXPECT_EQ(p.CenterPoint->GetX(), expected[i].startX) << "placed off-screen at once";
        EXPECT_EQ(p.CenterPoint->GetY(), expected[i].startY);
        p.Hide();
    }
}

TEST_F(ZefarPopUpTest, LockedWhileSlidingInNoInputUntilItIsInPlace)
{
    auto p = Make("p");
    auto child = app::CreateAppObj("button", 10, 20, p->CenterPoint.get());
    p->GoShow();
    EXPECT_EQ(p->shows, 1);
    EXPECT_EQ(p->isLocked, 1);
    EXPECT_EQ(p->PopUpStatus, 0);
    ASSERT_EQ(p->CenterPoint->Name, "Center");

    float lastY = p->CenterPoint->GetY();
    int frames = 0;
    while (p->isLocked && frames < 100) {
        Frame();
        ++frames;
        EXPECT_GE(p->CenterPoint->GetY(), lastY) << "moves down from the top, never back";
        lastY = p->CenterPoint->GetY();
    }
    // Forty steps of 0.025 stay just below 1 in single precision and the 41st
    // is clamped to 1; the update after that places the centre at its end
    // and unlocks.
    EXPECT_EQ(frames, 42);
    EXPECT_EQ(p->interfaceCalls, 1) << "only the frame that unlocked it reached Interface";
    EXPECT_EQ(p->PopUpStatus, 2);
    EXPECT_FLOAT_EQ(p->CenterPoint->GetX(), 0);
    EXPECT_FLOAT_EQ(p->CenterPoint->GetY(), 0);
    // The widgets move with the centre.
    EXPECT_FLOAT_EQ(child->x, 10);
    EXPECT_FLOAT_EQ(child->y, 20);
    Frame();
    EXPECT_EQ(p->interfaceCalls, 2);
}

TEST_F(ZefarPopUpTest, SlidingOutStartsAtTheEndGoesBackToItsEdgeAndHides)
{
    auto p = Make("p");
    menus::TZefarPopUp::ResetNextSide();
    // Second pop-up of the run: from the right.
    auto first = Make("first");
    first->GoShow();
    first->Hide();
    p->GoShow();
    ASSERT_EQ(p->Side, 1);
    for (int i = 0; i < 42; ++i)
        Frame();
    ASSERT_EQ(p->isLocked, 0);

    p->GoHide();
    EXPECT_EQ(p->isLocked, 1);
    Frame();
    EXPECT_FLOAT_EQ(p->CenterPoint->GetX(), 0) << "the first step of the slide out is at the end position";
    float lastX = 0;
    int frames = 1;
    while (p->IsShown() && frames < 100) {
        Frame();
        ++frames;
        EXPECT_GE(p->CenterPoint->GetX(), lastX);
        lastX = p->CenterPoint->GetX();
    }
    EXPECT_EQ(frames, 42);
    EXPECT_EQ(p->hides, 1);
    EXPECT_FLOAT_EQ(p->CenterPoint->GetX(), 1366);
    EXPECT_EQ(p->isLocked, 0);
    EXPECT_EQ(p->isEnabled, 0);
    EXPECT_EQ(p->interfaceCalls, 1) << "no input while it slid out";
}

TEST_F(ZefarPopUpTest, RepeatedAndContraryRequestsStayConsistent)
{
    auto p = Make("p");
    // Hiding a pop-up that is not shown does nothing.
    p->GoHide();
    EXPECT_EQ(p->PopUpStatus, 2);
    EXPECT_EQ(p->isLocked, 0);

    p->GoShow();
    for (int i = 0; i < 10; ++i)
        Frame();
    // Showing again while it slides in neither restarts it nor takes a new edge.
    p->GoShow();
    EXPECT_EQ(p->shows, 1);
    EXPECT_EQ(menus::TZefarPopUp::NextSide(), 1);
    EXPECT_EQ(screen->ShowedPopUps.size(), 1u);

    // Closing mid-way turns back from where it is: no jump of more than one
    // step (about 30 units here), then back up toward the top edge.
    auto turnsBack = [&](auto request, float direction) {
        const float before = p->CenterPoint->GetY();
        request();
        Frame();
        const float first = p->CenterPoint->GetY();
        Frame();
        const float second = p->CenterPoint->GetY();
        EXPECT_LT(std::abs(first - before), 40.0f);
        EXPECT_GT((second - first) * direction, 0.0f);
    };
    turnsBack([&] { p->GoHide(); }, -1);
    EXPECT_EQ(p->PopUpStatus, 1);
    for (int i = 0; i < 3; ++i)
        Frame();
    // And opening again mid-way turns back once more.
    turnsBack([&] { p->GoShow(); }, +1);
    EXPECT_EQ(p->PopUpStatus, 0);
    for (int i = 0; i < 60; ++i)
        Frame();
    EXPECT_EQ(p->PopUpStatus, 2);
    EXPECT_EQ(p->isLocked, 0);
    EXPECT_FLOAT_EQ(p->CenterPoint->GetY(), 0);
    EXPECT_EQ(p->hides, 0);
}

} // namespace
