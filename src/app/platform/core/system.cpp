#include "app/platform/core/system.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

namespace platform {

// ---- Clock ----

int64_t SteadyClock::Millis()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::SleepUntil(int64_t millis)
{
    const int64_t now = Millis();
    if (millis > now)
        std::this_thread::sleep_for(std::chrono::milliseconds(millis - now));
}

namespace {
std::shared_ptr<IClock>& ClockSlot()
{
    static std::shared_ptr<IClock> clock = std::make_shared<SteadyClock>();
    return clock;
}
} // namespace

IClock& Clock() { return *ClockSlot(); }

void SetClock(std::shared_ptr<IClock> clock)
{
    ClockSlot() = clock ? std::move(clock) : std::make_shared<SteadyClock>();
}

// ---- Random numbers ----

namespace {
uint32_t Rotl(uint32_t x, int k) { return (x << k) | (x >> (32 - k)); }
uint32_t SplitMix(uint64_t& state)
{
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 16);
}
} // namespace

void Random::Seed(uint32_t seed)
{
    uint64_t st = seed;
    for (auto& s : s_)
        s = SplitMix(st);
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0)
        s_[0] = 1;
}

uint32_t Random::Next()
{
    const uint32_t result = Rotl(s_[1] * 5, 7) * 9;
    const uint32_t t = s_[1] << 9;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 11);
    return result;
}

int Random::Int(int min, int max)
{
    if (max < min)
        std::swap(min, max);
    const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(max) - min) + 1;
    // Rejection sampling keeps the distribution exact.
    const uint64_t limit = (uint64_t{1} << 32) - ((uint64_t{1} << 32) % span);
    uint64_t v;
    do {
        v = Next();
    } while (v >= limit);
    return static_cast<int>(min + static_cast<int64_t>(v % span));
}

float Random::Float(float min, float max)
{
    const float unit = static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f);
    const float v = min + (max - min) * unit;
    return v < max ? v : min;
}

Random& Rng()
{
    static Random rng(1);
    return rng;
}

// ---- Console and message boxes ----

namespace {
std::function<void(const std::string&)>& LogSink()
{
    static std::function<void(const std::string&)> sink;
    return sink;
}
std::function<void(const std::string&, bool)>& BoxSink()
{
    static std::function<void(const std::string&, bool)> sink;
    return sink;
}
} // namespace

void Log(const std::string& line)
{
    if (LogSink()) {
        LogSink()(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Trace(const std::string& text) { Log("> " + text); }

void SetLogSink(std::function<void(const std::string&)> sink) { LogSink() = std::move(sink); }

void MessageBox(const std::string& text, bool serious)
{
    if (BoxSink()) {
        BoxSink()(text, serious);
        return;
    }
    Log(std::string(serious ? "ERROR: " : "MESSAGE: ") + text);
}

void SetMessageBoxSink(std::function<void(const std::string&, bool)> sink) { BoxSink() = std::move(sink); }

// ---- Maths in degrees ----

namespace {
constexpr float kDegToRad = 3.14159265358979323846f / 180.0f;
}
float SinD(float deg) { return std::sin(deg * kDegToRad); }
float CosD(float deg) { return std::cos(deg * kDegToRad); }
float Atan2D(float y, float x) { return std::atan2(y, x) / kDegToRad; }

} // namespace platform
