#pragma once
// Wall-clock seconds of a piece of work and the process's peak resident
// memory, the two figures every part of the export benchmark reports.
#include <chrono>

#include <sys/resource.h>

namespace velloran::bench {

template <class Work>
double secondsOf(Work&& work) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The high-water mark of this process's resident memory, in megabytes.
inline double peakMemoryMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace velloran::bench
