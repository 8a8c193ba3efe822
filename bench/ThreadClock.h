// Time the calling thread has spent running, user and system together. On a
// busy two-core machine other processes take the processor away from a
// benchmark at random; wall-clock time counts those gaps, this clock does
// not, so a ratio of two such times stays steady while others build.
#pragma once

#include <time.h>

namespace benchclock {

inline double ThreadSeconds() noexcept {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace benchclock
