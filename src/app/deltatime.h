// Frame timing: the frame-time meter, the frame factor every per-frame speed is
// multiplied by, and the application clock that times every delay.
//
// All clock values are milliseconds of the 64-bit monotonic platform clock, so
// neither a wrap of the clock nor a long session can turn into a huge step.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace app {

// Measures the time between two updates against a nominal frame rate.
class TDeltaTime {
public:
    int64_t OldTime = 0;      // clock value at the previous update
    int64_t ElapsedTime = 0;  // time between the last two updates
    float dFps = 0.0f;        // nominal frames per second
    float dDelta = 0.0f;      // milliseconds per nominal frame, always 1000 / dFps
    int CurrFps = 0;          // frames counted in the last completed second
    int FPSCounter = 0;       // frames counted in the current second
    int64_t CurrTime = 0;     // clock value at the last update
    int64_t CheckTime = 0;    // end of the current one-second window

    // A new meter with the given nominal rate, added to the program-wide list.
    static std::shared_ptr<TDeltaTime> Create(float fps);

    // One measurement against the platform clock.
    void Update();
    int FPS() const { return CurrFps; }
    // Elapsed time in nominal frames: 1.0 means exactly one nominal frame.
    float CurrDelta() const;
    void SetFPS(float fps);
    // Removes the meter from the program-wide list.
    void Destroy();
};

// Every meter created and not yet destroyed.
const std::vector<std::shared_ptr<TDeltaTime>>& DeltaTimes();

// The program's meter (created on first use with a nominal rate of 60).
TDeltaTime& MainDeltaTime();

// The last CurrDelta of the program's meter.
float FrameFactor();
// Tests and tools may fix the factor; the next UpdateDeltaTime replaces it.
void SetFrameFactor(float factor);

// Measures one frame, sets the frame factor and lets the platform process its
// pending window and input events (through the installed event pump).
void UpdateDeltaTime();
// UpdateDeltaTime 100 times in a row: called after long blocking work so that
// the next frame factor covers only the time since the reset.
void ResetDeltaTime();
// The function that polls platform events; empty means nothing to poll.
void SetEventPump(std::function<void()> pump);

// ---- Application clock ----

// Milliseconds counted only while the clock is read; every frame reads it once.
int64_t AppClock();
// The next reading adds nothing for the time in between (used by the pause screen).
void HoldApplicationClock();
// The last step the clock advanced by.
int64_t AppClockStep();
// Back to 0 and no reading (program start, tests).
void ResetAppClock();

} // namespace app
