#include "fx/pulsar.h"

#include <cmath>

#include "app/platform/core/system.h"
#include "fx/timing.h"

float StepForDuration(float ms, float fps)
{
    const double frames = (static_cast<double>(ms) / 1000.0) * static_cast<double>(fps);
    if (std::isinf(frames) && frames > 0.0)
        return 0.0f; // an endless duration never moves
    if (!(frames > 0.0))
        return kInstantStep; // no time at all (zero, negative or not a number)
    const double step = 1.0 / frames;
    return step > kInstantStep ? kInstantStep : static_cast<float>(step);
}

float Approach(float value, float target, float step, float factor)
{
    const float f = factor >= 0 ? factor : fx::FrameFactor();
    const float delta = std::fabs(step * f);
    if (!std::isfinite(delta) || !std::isfinite(value))
        return target;
    if (value < target) {
        value += delta;
        if (value > target)
            value = target;
    } else if (value > target) {
        value -= delta;
        if (value < target)
            value = target;
    }
    return value;
}

float TPulsar::Update()
{
    p = Approach(p, dp, speed, -1.0f);
    if (p == dp)
        dp = dp == 0 ? 1.0f : 0.0f;
    return p;
}

TPulsar CreatePulsar(float speed, float start)
{
    TPulsar pulsar;
    pulsar.speed = speed;
    pulsar.p = start == -1.0f ? static_cast<float>(platform::Rng().Int(0, 1)) : start;
    pulsar.dp = pulsar.p == 0 ? 1.0f : 0.0f;
    return pulsar;
}
