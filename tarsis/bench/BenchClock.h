// The wall and CPU time of the calling thread, for benchmarks that time a
// road and its anchor taking turns inside one loop.
#pragma once

#include <time.h>

namespace tarsis::bench {

// Microseconds.
struct Clock {
    double wall;
    double cpu;
    static Clock now()
    {
        timespec wall{}, cpu{};
        clock_gettime(CLOCK_MONOTONIC, &wall);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        return {static_cast<double>(wall.tv_sec) * 1e6 + static_cast<double>(wall.tv_nsec) / 1e3,
                static_cast<double>(cpu.tv_sec) * 1e6 + static_cast<double>(cpu.tv_nsec) / 1e3};
    }
};

} // namespace tarsis::bench
