#include "fx/timing.h"

#include <utility>

namespace fx {

namespace {
std::function<float()>& FactorSource()
{
    static std::function<float()> source;
    return source;
}
std::function<int64_t()>& ClockSource()
{
    static std::function<int64_t()> source;
    return source;
}
} // namespace

float FrameFactor()
{
    const auto& source = FactorSource();
    return source ? source() : 1.0f;
}

int64_t AppClock()
{
    const auto& source = ClockSource();
    return source ? source() : 0;
}

void SetFrameFactorSource(std::function<float()> source) { FactorSource() = std::move(source); }
void SetAppClockSource(std::function<int64_t()> source) { ClockSource() = std::move(source); }

ScopedFrameFactor::ScopedFrameFactor(float factor) : previous_(FactorSource())
{
    FactorSource() = [factor] { return factor; };
}

ScopedFrameFactor::~ScopedFrameFactor() { FactorSource() = std::move(previous_); }

} // namespace fx
