#pragma once
// The system's coarse clocks: advanced once a timer tick (a few
// milliseconds) and read without asking the hardware, so they cost a
// fraction of the precise clocks. For work that reads the time per item,
// millions of times a run, where a few milliseconds do not matter.
#include <cstdint>

namespace velloran::platform {

// Milliseconds since the epoch.
std::int64_t coarseRealTimeMSecs();
// Milliseconds of a clock that never goes back.
std::int64_t coarseMonotonicMSecs();

}  // namespace velloran::platform
