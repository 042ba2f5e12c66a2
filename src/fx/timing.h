// Time bases read by the animation records: the frame factor (1.0 for one
// nominal 60th of a second) and the application clock in milliseconds.
//
// The main loop owns the real values and installs them here with the setters;
// until it does (and in tests) the frame factor is 1 and the clock reads 0.
#pragma once

#include <cstdint>
#include <functional>

namespace fx {

float FrameFactor();
int64_t AppClock();

// An empty function restores the default (1.0 and 0).
void SetFrameFactorSource(std::function<float()> source);
void SetAppClockSource(std::function<int64_t()> source);

// Installs a fixed frame factor for the lifetime of the object and restores
// the previous source afterwards (tests and blocking loops use it).
class ScopedFrameFactor {
public:
    explicit ScopedFrameFactor(float factor);
    ~ScopedFrameFactor();
    ScopedFrameFactor(const ScopedFrameFactor&) = delete;
    ScopedFrameFactor& operator=(const ScopedFrameFactor&) = delete;

private:
    std::function<float()> previous_;
};

} // namespace fx
