// The benchmarks' report of a figure beside its anchor: the usual console
// output, then one line per figure with the median time of its repetitions,
// the anchor's (a bare loop doing the same work, measured in the same run)
// and the ratio between them.
//
//   testsupport::AnchoredReporter reporter(testsupport::AnchoredReporter::Clock::Cpu);
//   benchmark::RunSpecifiedBenchmarks(&reporter);
//   reporter.printRatio("parse, in memory", "BM_Parse", "BM_Tokenise", files);
//
// Header-only, for programs that link Google Benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class AnchoredReporter : public benchmark::ConsoleReporter {
public:
    enum class Clock { Cpu, Real };
    explicit AnchoredReporter(Clock clock) : m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_seconds[run.run_name.function_name].push_back(
                    (m_clock == Clock::Cpu ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime()) /
                    benchmark::GetTimeUnitMultiplier(run.time_unit));
        ConsoleReporter::ReportRuns(runs);
    }

    // Median seconds per iteration of a benchmark (its function name), or
    // nothing when it did not run.
    std::optional<double> median(const std::string& name) const
    {
        auto found = m_seconds.find(name);
        if (found == m_seconds.end())
            return std::nullopt;
        std::vector<double> values = found->second;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }

    // "<label> <figure> us  anchor <name> <anchor> us  ratio <r>", both
    // times per unit (an iteration's time divided by unitsPerIteration);
    // nothing when either did not run.
    void printRatio(const char* label, const std::string& figure, const std::string& anchor,
                    double unitsPerIteration) const
    {
        const std::optional<double> f = median(figure), a = median(anchor);
        if (!f || !a)
            return;
        const double figureUs = *f / unitsPerIteration * 1e6;
        const double anchorUs = *a / unitsPerIteration * 1e6;
        std::printf("%-36s %10.2f us   anchor %-28s %10.2f us   ratio %7.1f\n", label, figureUs,
                    anchor.c_str(), anchorUs, figureUs / anchorUs);
    }

private:
    Clock m_clock;
    std::map<std::string, std::vector<double>> m_seconds; // per iteration
};

} // namespace testsupport
