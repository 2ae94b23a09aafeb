// The wall and CPU time of the calling thread, for benchmarks that time a
// road and its anchor over the same work, and the sums of a road and its
// anchor taking turns inside one loop (so that both meet the same disk and
// the same load).
//
//   testsupport::TakingTurns turns;
//   for (auto _ : state) {
//       turns.start();  road();  turns.roadDone();  anchor();  turns.anchorDone();
//   }
//   turns.setCounters(state, "import", "bare");  // import_wall_us, ..., wall_ratio, cpu_ratio
//
// Header-only, for programs that link Google Benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include <time.h>

namespace testsupport {

// Microseconds: wall (monotonic) and the thread's CPU time.
struct ThreadClock {
    double wall;
    double cpu;
    static ThreadClock now()
    {
        timespec wall{}, cpu{};
        clock_gettime(CLOCK_MONOTONIC, &wall);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        return {static_cast<double>(wall.tv_sec) * 1e6 + static_cast<double>(wall.tv_nsec) / 1e3,
                static_cast<double>(cpu.tv_sec) * 1e6 + static_cast<double>(cpu.tv_nsec) / 1e3};
    }
};

// A road's and its anchor's wall and CPU time summed over turns: start,
// the road, roadDone, the anchor, anchorDone.
class TakingTurns {
public:
    void start() { m_mark = ThreadClock::now(); }
    void roadDone() { m_mark = add(m_road); }
    void anchorDone()
    {
        m_mark = add(m_anchor);
        ++m_turns;
    }
    int turns() const { return m_turns; }

    // Per turn, "<road>_wall_us", "<road>_cpu_us", "<anchor>_wall_us",
    // "<anchor>_cpu_us", and the ratios "wall_ratio" and "cpu_ratio" of the
    // sums; nothing without a turn.
    void setCounters(benchmark::State& state, const std::string& road,
                     const std::string& anchor) const
    {
        if (m_turns == 0)
            return;
        state.counters[road + "_wall_us"] = m_road.wall / m_turns;
        state.counters[road + "_cpu_us"] = m_road.cpu / m_turns;
        state.counters[anchor + "_wall_us"] = m_anchor.wall / m_turns;
        state.counters[anchor + "_cpu_us"] = m_anchor.cpu / m_turns;
        state.counters["wall_ratio"] = m_road.wall / m_anchor.wall;
        state.counters["cpu_ratio"] = m_road.cpu / m_anchor.cpu;
    }

private:
    ThreadClock add(ThreadClock& sum) const
    {
        const ThreadClock now = ThreadClock::now();
        sum.wall += now.wall - m_mark.wall;
        sum.cpu += now.cpu - m_mark.cpu;
        return now;
    }

    ThreadClock m_mark{0, 0};
    ThreadClock m_road{0, 0};
    ThreadClock m_anchor{0, 0};
    int m_turns = 0;
};

} // namespace testsupport
