// Operating-system services that need no window: clock, random numbers, console
// output and message boxes. Every one of them can be replaced by a test.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// ---- Clock ----

// A monotonic millisecond clock. The real one reads the steady clock; headless
// runs and tests install a VirtualClock that only moves when told to.
class IClock {
public:
    virtual ~IClock() = default;
    virtual int64_t Millis() = 0;
    // Waits until the given time of this clock (the frame limiter uses it).
    virtual void SleepUntil(int64_t millis) = 0;
};

class SteadyClock final : public IClock {
public:
    int64_t Millis() override;
    void SleepUntil(int64_t millis) override;
};

class VirtualClock final : public IClock {
public:
    explicit VirtualClock(int64_t start = 1000) : now_(start) {}
    int64_t Millis() override { return now_; }
    void SleepUntil(int64_t millis) override { if (millis > now_) now_ = millis; }
    void Advance(int64_t ms) { now_ += ms; }
    void Set(int64_t ms) { now_ = ms; }

private:
    int64_t now_;
};

// The clock the program reads. Never null.
IClock& Clock();
void SetClock(std::shared_ptr<IClock> clock);
inline int64_t Millis() { return Clock().Millis(); }

// ---- Random numbers ----

// A small seedable generator (xoshiro128**). Integer ranges include both ends;
// float ranges are [min, max).
class Random {
public:
    explicit Random(uint32_t seed = 1) { Seed(seed); }
    void Seed(uint32_t seed);
    uint32_t Next();
    int Int(int min, int max);
    float Float(float min, float max);

private:
    uint32_t s_[4]{};
};

// The program-wide stream used where no subsystem keeps a stream of its own.
Random& Rng();

// ---- Console and message boxes ----

// Writes one line to standard output (or to the installed sink).
void Log(const std::string& line);
// Writes "> " + text, the trace form.
void Trace(const std::string& text);
void SetLogSink(std::function<void(const std::string&)> sink); // empty restores stdout

// Shows a message and waits for the user. The sink is the SDL dialog in the
// running game, a recorder in tests and a console line in headless runs.
void MessageBox(const std::string& text, bool serious = false);
void SetMessageBoxSink(std::function<void(const std::string&, bool)> sink); // empty: console

// ---- Maths in degrees ----
float SinD(float deg);
float CosD(float deg);
float Atan2D(float y, float x);

} // namespace platform
