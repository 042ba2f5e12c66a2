// The main loop as tests run it: a virtual clock that each event pump moves
// on by 16 ms at a nominal 62.5 frames per second, so every frame step is
// exactly one nominal frame (frame factor 1), also right after the timing is
// reset at a switch; no frame limit; fresh Control, input, drawing state and
// transition screen. Fixtures start it in SetUp and stop it in TearDown.
#pragma once

#include <memory>

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/platform/platform.h"

namespace testsupport {

inline std::shared_ptr<platform::VirtualClock> StartVirtualFrames()
{
    auto clock = std::make_shared<platform::VirtualClock>(1000);
    platform::SetClock(clock);
    platform::SetFrameLimit(0);
    platform::SetVirtualResolution(1024, 768, 0);
    platform::ResetDrawState();
    platform::ResetInput();
    app::Control::Reset();
    app::MainDeltaTime().SetFPS(62.5f);
    app::SetEventPump([clock] {
        clock->Advance(16);
        platform::PollEvents();
    });
    app::ResetAppClock();
    app::ResetDeltaTime();
    app::Crosser() = std::make_shared<app::TCrosser>();
    return clock;
}

// Back to the real timing, with Control and the input emptied.
inline void StopVirtualFrames()
{
    app::SetEventPump(nullptr);
    app::MainDeltaTime().SetFPS(60);
    app::Crosser() = std::make_shared<app::TCrosser>();
    app::Control::Reset();
    platform::ResetInput();
    platform::SetFrameLimit(60);
    platform::SetClock(nullptr);
}

} // namespace testsupport
