// Frame-rate-independent stepping: the back-and-forth oscillator TPulsar and
// the stepping operations Approach and StepForDuration. Steps are given per
// nominal frame (1/60 s) and scaled by the frame factor.
#pragma once

// The step StepForDuration gives for a duration of 0 (or any duration or rate
// that leaves no time): large enough that any 0-to-1 progress arrives in one
// frame, yet finite, so that adding it never yields an infinite or NaN value.
constexpr float kInstantStep = 1.0e6f;

// The step per nominal frame that takes a value from 0 to 1 in ms milliseconds
// at fps frames per second: 1 / ((ms / 1000) * fps). An endless duration
// gives 0; no time at all gives kInstantStep.
float StepForDuration(float ms, float fps = 60.0f);

// Moves value toward target by step * f without passing it, where f is factor
// when factor >= 0 and the frame factor otherwise. A step that is not finite
// (or a value that is not) arrives at the target at once; the sign of the step
// does not matter.
float Approach(float value, float target, float step, float factor = -1.0f);

struct TPulsar {
    float p = 0;     // current value
    float dp = 1;    // target, 0 or 1
    float speed = 0; // step per nominal frame

    // One step toward dp (scaled by the frame factor); on arrival dp flips, so
    // p runs 0 -> 1 -> 0 with a period of 2 / speed nominal frames. Returns p.
    float Update();
};

// speed as given; p = start, or a random 0 or 1 (program stream) when start
// is -1; dp = 1 when p is 0, else 0.
TPulsar CreatePulsar(float speed, float start);
