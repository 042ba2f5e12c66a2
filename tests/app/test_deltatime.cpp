// Frame timing against a virtual clock: frame factors, the one-second FPS
// window, ResetDeltaTime, the application clock and the speed toggle.
#include "app/control.h"
#include "app/deltatime.h"
#include "app/platform/core/system.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class DeltaTimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock = std::make_shared<platform::VirtualClock>(1000);
        platform::SetClock(clock);
        app::SetEventPump(nullptr);
        app::ResetAppClock();
        app::MainDeltaTime().SetFPS(60.0f);
    }
    void TearDown() override { platform::SetClock(nullptr); }

    std::shared_ptr<platform::VirtualClock> clock;
};

TEST_F(DeltaTimeTest, FrameFactorScalesWithElapsedTime)
{
    struct Case {
        float fps;
        int64_t frameMs;
        float factor;
    };
    const Case cases[] = {
        {60, 33, 1.98f},  // a slow frame counts as about two nominal frames
        {60, 8, 0.48f},   // a fast one as about half
        {60, 0, 0.0f},
        {120, 33, 3.96f}, // at the toggled rate the same time is twice as many frames
        {30, 33, 0.99f},
    };
    for (const Case& c : cases) {
        auto meter = app::TDeltaTime::Create(c.fps);
        meter->Update();
        clock->Advance(c.frameMs);
        meter->Update();
        EXPECT_EQ(meter->ElapsedTime, c.frameMs);
        EXPECT_NEAR(meter->CurrDelta(), c.factor, 1e-4f) << c.fps << " fps, " << c.frameMs << " ms";
        meter->Destroy();
    }
}

TEST_F(DeltaTimeTest, MetersJoinAndLeaveTheProgramWideList)
{
    auto meter = app::TDeltaTime::Create(60);
    const auto& list = app::DeltaTimes();
    EXPECT_NE(std::find(list.begin(), list.end(), meter), list.end());
    meter->Destroy();
    EXPECT_EQ(std::find(list.begin(), list.end(), meter), list.end());
}

TEST_F(DeltaTimeTest, NonPositiveRateFallsBackToSixty)
{
    app::TDeltaTime meter;
    meter.SetFPS(0.0f);
    EXPECT_FLOAT_EQ(meter.dFps, 60.0f);
    EXPECT_FLOAT_EQ(meter.dDelta, 1000.0f / 60.0f);
}

TEST_F(DeltaTimeTest, CountsFramesOfTheLastCompletedSecond)
{
    app::TDeltaTime meter;
    meter.SetFPS(60);
    meter.Update(); // opens the first one-second window
    for (int i = 0; i < 100; ++i) {
        clock->Advance(10);
        meter.Update();
    }
    EXPECT_EQ(meter.FPS(), 0) << "the first window is still open";
    clock->Advance(10);
    meter.Update();
    EXPECT_EQ(meter.FPS(), 100);
}

TEST_F(DeltaTimeTest, ResetAfterLongWorkLeavesOnlyTheTimeSinceTheReset)
{
    int polls = 0;
    app::SetEventPump([&] { ++polls; });
    app::UpdateDeltaTime();
    clock->Advance(5000); // a screen's set-up took five seconds
    app::ResetDeltaTime();
    EXPECT_EQ(polls, 101) << "every measurement lets the platform poll its events";
    clock->Advance(16);
    app::UpdateDeltaTime();
    EXPECT_NEAR(app::FrameFactor(), 0.96f, 1e-4f);
    app::SetEventPump(nullptr);
}

TEST_F(DeltaTimeTest, FirstMeasurementWithoutResetSpansTheWholeClock)
{
    app::TDeltaTime meter;
    meter.SetFPS(60);
    clock->Set(int64_t{5} * 1000 * 1000 * 1000); // far beyond 32 bits
    meter.Update();
    EXPECT_EQ(meter.ElapsedTime, int64_t{5} * 1000 * 1000 * 1000);
    clock->Advance(17);
    meter.Update();
    EXPECT_EQ(meter.ElapsedTime, 17) << "no wrap of the 64-bit clock";
    clock->Set(1000); // a clock replaced by one that reads earlier
    meter.Update();
    EXPECT_EQ(meter.ElapsedTime, 0) << "never a negative frame";
}

TEST_F(DeltaTimeTest, ApplicationClockCountsOnlyReadTimeAndStopsWhenHeld)
{
    EXPECT_EQ(app::AppClock(), 0) << "the first reading only anchors the clock";
    clock->Advance(50);
    EXPECT_EQ(app::AppClock(), 50);
    EXPECT_EQ(app::AppClockStep(), 50);

    app::HoldApplicationClock(); // the pause screen
    clock->Advance(10000);
    EXPECT_EQ(app::AppClock(), 50) << "held time is not counted";
    EXPECT_EQ(app::AppClockStep(), 0);

    clock->Advance(20);
    EXPECT_EQ(app::AppClock(), 70);

    clock->Set(clock->Millis() - 30); // a clock that stepped back counts its distance
    EXPECT_EQ(app::AppClock(), 100);
}

TEST_F(DeltaTimeTest, ApplicationClockTreatsAReadingOfZeroAsATime)
{
    clock->Set(0);
    EXPECT_EQ(app::AppClock(), 0);
    clock->Set(40);
    EXPECT_EQ(app::AppClock(), 40);
}

TEST_F(DeltaTimeTest, SpeedToggleNeedsCheats)
{
    app::TDeltaTime& meter = app::MainDeltaTime();

    app::ApplySpeedToggle(false, true, 120);
    EXPECT_FLOAT_EQ(meter.dFps, 60.0f) << "without cheats the key does nothing";

    app::ApplySpeedToggle(true, false, 120);
    EXPECT_FLOAT_EQ(meter.dFps, 60.0f) << "no key, no change";

    app::ApplySpeedToggle(true, true, 120);
    EXPECT_FLOAT_EQ(meter.dFps, 120.0f);
    EXPECT_FLOAT_EQ(meter.dDelta, 1000.0f / 120.0f);

    app::ApplySpeedToggle(true, true, 120);
    EXPECT_FLOAT_EQ(meter.dFps, 60.0f) << "pressing twice returns to the nominal rate";
}

} // namespace
