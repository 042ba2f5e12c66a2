// Shared set-up for the fuzz targets: console output is discarded (the parsers
// report problems there) and a failed invariant aborts with a message.
#pragma once

#include "app/platform/core/system.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline void Silence()
{
    static bool done = false;
    if (!done) {
        platform::SetLogSink([](const std::string&) {});
        done = true;
    }
}

inline void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant failed: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
