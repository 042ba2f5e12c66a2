// Frame-rate-independent stepping: Approach, StepForDuration and pulsars.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "app/platform/core/system.h"
#include "fx/pulsar.h"
#include "fx/timing.h"

namespace {

TEST(Stepping, ApproachSequences)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        float from, target, step, factor;
        std::vector<float> expected; // successive results
    } cases[] = {
        {"up in quarters", 0, 1, 0.25f, 1, {0.25f, 0.5f, 0.75f, 1, 1}},
        {"never passes the target", 1, 0.9f, 0.25f, 1, {0.9f, 0.9f}},
        {"down", 1, 0, 0.5f, 1, {0.5f, 0, 0}},
        {"factor scales the step", 0, 1, 0.25f, 2, {0.5f, 1}},
        {"a zero factor stands still", 0, 1, 0.25f, 0, {0, 0}},
        {"negative step moves toward the target", 0, 1, -0.5f, 1, {0.5f, 1}},
        {"infinite step arrives", 0, 1, inf, 1, {1}},
        {"NaN step arrives", 0.3f, 1, nan, 1, {1}},
        {"NaN value arrives", nan, 0.5f, 0.1f, 1, {0.5f}},
        {"infinite value arrives", -inf, 0.5f, 0.1f, 1, {0.5f}},
    };
    for (const Case& c : cases) {
        float v = c.from;
        for (float e : c.expected) {
            v = Approach(v, c.target, c.step, c.factor);
            EXPECT_FLOAT_EQ(v, e) << c.what;
        }
    }
}

TEST(Stepping, NegativeFactorReadsTheFrameFactor)
{
    fx::ScopedFrameFactor factor(2.0f);
    EXPECT_FLOAT_EQ(Approach(0, 1, 0.25f, -1), 0.5f);
    EXPECT_FLOAT_EQ(Approach(0, 1, 0.25f, 1), 0.25f);
    {
        fx::ScopedFrameFactor broken(std::numeric_limits<float>::quiet_NaN());
        EXPECT_FLOAT_EQ(Approach(0, 1, 0.25f), 1);
    }
    EXPECT_FLOAT_EQ(fx::FrameFactor(), 2.0f); // restored
}

TEST(Stepping, StepForDurationTable)
{
    struct Case {
        float ms, fps, step;
    } cases[] = {
        {500, 60, 1.0f / 30}, {1000, 60, 1.0f / 60}, {1000.0f / 60, 60, 1},
        {0, 60, kInstantStep}, {-10, 60, kInstantStep}, {500, 0, kInstantStep},
        {std::numeric_limits<float>::quiet_NaN(), 60, kInstantStep},
        {std::numeric_limits<float>::infinity(), 60, 0},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(StepForDuration(c.ms, c.fps), c.step) << "ms " << c.ms << " fps " << c.fps;
}

// A 0-to-1 progress run the way story scenes and flying objects run it must
// arrive in one frame for a zero duration and never become infinite or NaN,
// whatever the frame factor.
TEST(Stepping, ZeroDurationProgressArrivesFinite)
{
    for (float factor : {0.5f, 1.0f, 3.0f, 1000.0f}) {
        fx::ScopedFrameFactor ff(factor);
        const float step = StepForDuration(0);
        EXPECT_EQ(Approach(0, 1, step), 1.0f);
        float per = 0;
        per += step * fx::FrameFactor();
        EXPECT_TRUE(std::isfinite(per));
        EXPECT_TRUE(std::isfinite(std::sin(per)));
    }
    // A real duration takes its number of frames.
    float per = 0;
    int frames = 0;
    while (per < 1 && frames < 100) {
        per = Approach(per, 1, StepForDuration(250), 1);
        ++frames;
    }
    EXPECT_EQ(frames, 15);
}

TEST(Pulsar, SequenceAtFrameFactorOne)
{
    fx::ScopedFrameFactor ff(1.0f);
    TPulsar pulsar = CreatePulsar(0.25f, 0);
    EXPECT_EQ(pulsar.dp, 1);
    const float expected[] = {0.25f, 0.5f, 0.75f, 1, 0.75f, 0.5f, 0.25f, 0, 0.25f, 0.5f};
    for (float e : expected)
        EXPECT_FLOAT_EQ(pulsar.Update(), e);
}

TEST(Pulsar, FrameFactorScalesAndStartChoosesDirection)
{
    {
        fx::ScopedFrameFactor ff(2.0f);
        TPulsar pulsar = CreatePulsar(0.25f, 0);
        const float expected[] = {0.5f, 1, 0.5f, 0, 0.5f};
        for (float e : expected)
            EXPECT_FLOAT_EQ(pulsar.Update(), e);
    }
    {
        fx::ScopedFrameFactor ff(1.0f);
        TPulsar down = CreatePulsar(0.5f, 1);
        EXPECT_EQ(down.dp, 0);
        EXPECT_FLOAT_EQ(down.Update(), 0.5f);
        TPulsar mid = CreatePulsar(0.25f, 0.6f);
        EXPECT_EQ(mid.dp, 0);
        EXPECT_FLOAT_EQ(mid.Update(), 0.35f);
    }

    platform::Rng().Seed(7);
    bool sawZero = false, sawOne = false;
    for (int i = 0; i < 64; ++i) {
        const TPulsar random = CreatePulsar(0.1f, -1);
        ASSERT_TRUE(random.p == 0 || random.p == 1);
        EXPECT_EQ(random.dp, random.p == 0 ? 1 : 0);
        sawZero |= random.p == 0;
        sawOne |= random.p == 1;
    }
    EXPECT_TRUE(sawZero && sawOne);
}

} // namespace
