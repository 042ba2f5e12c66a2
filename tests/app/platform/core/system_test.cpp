// Random generator ranges and determinism; the virtual clock; console sinks.
#include "app/platform/core/system.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace platform;

TEST(Random, SameSeedSameStreamDifferentSeedDifferentStream)
{
    Random a(42), b(42), c(43);
    std::vector<uint32_t> sa, sb, sc;
    for (int i = 0; i < 32; ++i) {
        sa.push_back(a.Next());
        sb.push_back(b.Next());
        sc.push_back(c.Next());
    }
    EXPECT_EQ(sa, sb);
    EXPECT_NE(sa, sc);
    a.Seed(42);
    EXPECT_EQ(a.Next(), sa[0]); // reseeding restarts the stream
    Random zero(0);
    EXPECT_NE(zero.Next() | zero.Next() | zero.Next(), 0u); // seed 0 is not a dead state
}

TEST(Random, IntegerRangesIncludeBothEnds)
{
    struct Case {
        int min, max;
    } cases[] = {{0, 3}, {-2, 2}, {5, 5}, {7, 4}, {-2147483647 - 1, 2147483647}};
    Random r(7);
    for (const auto& c : cases) {
        const int lo = std::min(c.min, c.max), hi = std::max(c.min, c.max);
        std::set<int> seen;
        for (int i = 0; i < 2000; ++i) {
            const int v = r.Int(c.min, c.max);
            ASSERT_GE(v, lo);
            ASSERT_LE(v, hi);
            seen.insert(v);
        }
        if (static_cast<long long>(hi) - lo < 10) {
            EXPECT_EQ(seen.size(), static_cast<size_t>(hi - lo + 1)) << c.min << ".." << c.max;
        }
    }
}

TEST(Random, FloatRangeIsHalfOpen)
{
    Random r(3);
    float lowest = 2.0f, highest = 0.0f;
    for (int i = 0; i < 20000; ++i) {
        const float v = r.Float(0.5f, 1.5f);
        ASSERT_GE(v, 0.5f);
        ASSERT_LT(v, 1.5f);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_LT(lowest, 0.51f);
    EXPECT_GT(highest, 1.49f);
    EXPECT_EQ(r.Float(2.0f, 2.0f), 2.0f);
}

TEST(Clock, VirtualClockMovesOnlyWhenTold)
{
    auto clock = std::make_shared<VirtualClock>(500);
    SetClock(clock);
    EXPECT_EQ(Millis(), 500);
    clock->Advance(16);
    EXPECT_EQ(Millis(), 516);
    Clock().SleepUntil(600);
    EXPECT_EQ(Millis(), 600);
    Clock().SleepUntil(100); // never goes back
    EXPECT_EQ(Millis(), 600);
    clock->Set(5);
    EXPECT_EQ(Millis(), 5);
    SetClock(nullptr); // back to the real clock
    const int64_t a = Millis();
    EXPECT_GE(Millis(), a);
}

TEST(Console, SinksReceiveLinesAndBoxes)
{
    std::vector<std::string> lines;
    SetLogSink([&](const std::string& l) { lines.push_back(l); });
    Log("plain");
    Trace("step");
    MessageBox("TEXTURE FILE NOT FOUND: x.png");
    std::vector<std::pair<std::string, bool>> boxes;
    SetMessageBoxSink([&](const std::string& t, bool serious) { boxes.emplace_back(t, serious); });
    MessageBox("fatal", true);
    SetMessageBoxSink({});
    SetLogSink({});
    EXPECT_EQ(lines, (std::vector<std::string>{"plain", "> step", "MESSAGE: TEXTURE FILE NOT FOUND: x.png"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (std::pair<std::string, bool>{"fatal", true}));
}
