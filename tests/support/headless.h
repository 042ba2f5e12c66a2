// The platform as the tests run it: SDL's dummy video driver with a software
// renderer drawing into memory, and no audio device. Test suites open it once
// in SetUpTestSuite and shut it in TearDownTestSuite.
#pragma once

#include <gtest/gtest.h>

#include "app/platform/platform.h"

namespace testsupport {

// Starts the platform headless and opens a w x h display (pixels).
inline void OpenHeadlessDisplay(int w, int h)
{
    platform::InitOptions o;
    o.headless = true;
    o.audio = false;
    ASSERT_TRUE(platform::Init(o));
    ASSERT_TRUE(platform::OpenDisplay(w, h, 0));
}

} // namespace testsupport
