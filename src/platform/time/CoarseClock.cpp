#include "time/CoarseClock.h"

#include <ctime>

namespace velloran::platform {

namespace {

constexpr std::int64_t kMSecsPerSecond = 1000;
constexpr std::int64_t kNSecsPerMSec = 1000000;

std::int64_t msecsOf(clockid_t clock) {
    timespec now{};
    // Both clocks exist on every Linux the program runs on; they cannot
    // fail with a valid clock and address.
    clock_gettime(clock, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kMSecsPerSecond + now.tv_nsec / kNSecsPerMSec;
}

}  // namespace

std::int64_t coarseRealTimeMSecs() { return msecsOf(CLOCK_REALTIME_COARSE); }

std::int64_t coarseMonotonicMSecs() { return msecsOf(CLOCK_MONOTONIC_COARSE); }

}  // namespace velloran::platform
