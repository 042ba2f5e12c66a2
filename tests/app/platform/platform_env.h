// Shared set-up of the platform tests: one headless display for the whole run,
// rasterised so that pixels can be read back from the software renderer.
#pragma once

#include <string>

#include "app/platform/platform.h"

namespace vmtest {

// Opens (or resizes) the test display to w x h pixels with an identity
// projection, rasterising on, a clean drawing state and a cleared buffer.
void FreshDisplay(int w = 64, int h = 64);

// A scratch folder under the build directory, emptied per call.
std::string ScratchDir(const std::string& name);

} // namespace vmtest
