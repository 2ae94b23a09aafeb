// The benchmarks' report of a figure beside its anchor: the usual console
// output, then what the program prints from the medians this reporter
// keeps: each benchmark's wall and CPU time per iteration and its counters,
// the anchor's (a bare loop doing the same work, measured in the same run)
// and the ratio between them.
//
//   testsupport::AnchoredReporter reporter(testsupport::AnchoredReporter::Clock::Cpu);
//   benchmark::RunSpecifiedBenchmarks(&reporter);
//   reporter.printRatio("parse, in memory", "BM_Parse", "BM_Tokenise", files);
//   const double wall = reporter.median("BM_Import/2", Clock::Real).value_or(0);
//
// anchoredMain is the main of a program that makes an environment for its
// benchmarks, runs them with such a reporter and prints from it:
//
//   int main(int argc, char** argv)
//   {
//       return testsupport::anchoredMain(argc, argv, Clock::Real, [](auto& reporter, auto&) {
//           Environment environment;
//           benchmark::RunSpecifiedBenchmarks(&reporter);
//           printSummary(reporter);
//       });
//   }
//
// A benchmark is named by its function name, followed by "/" and its
// arguments when it has any ("BM_Import/2"); repetitions, time type and
// the like are no part of the name. Its median is the one the library
// reports for its repetitions, or, where it reports none, the median of
// its runs (the upper middle one of an even number).
//
// Header-only, for programs that link Google Benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class AnchoredReporter : public benchmark::ConsoleReporter {
public:
    enum class Clock { Cpu, Real };
    // clock: the one printRatio and median compare by default.
    explicit AnchoredReporter(Clock clock, OutputOptions options = OO_Defaults)
        : ConsoleReporter(options), m_clock(clock)
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((run.run_type != Run::RT_Iteration && !median) || run.error_occurred)
                continue;
            std::map<std::string, Values>& samples = m_samples[nameOf(run)];
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            Values& real = samples["real"];
            Values& cpu = samples["cpu"];
            real.add(median, run.GetAdjustedRealTime() / unit);
            cpu.add(median, run.GetAdjustedCPUTime() / unit);
            for (const auto& [name, counter] : run.counters)
                samples["counter " + name].add(median, counter.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Median seconds per iteration of a benchmark, or nothing when it did
    // not run.
    std::optional<double> median(const std::string& name) const { return median(name, m_clock); }
    std::optional<double> median(const std::string& name, Clock clock) const
    {
        return medianOf(name, clock == Clock::Cpu ? "cpu" : "real");
    }
    // The median of a counter of a benchmark, or nothing.
    std::optional<double> counter(const std::string& name, const std::string& counterName) const
    {
        return medianOf(name, "counter " + counterName);
    }
    // The largest value of a counter over a benchmark's runs, or nothing.
    std::optional<double> largestCounter(const std::string& name,
                                         const std::string& counterName) const
    {
        const Values* values = find(name, "counter " + counterName);
        if (!values || values->runs.empty())
            return values ? values->reportedMedian : std::nullopt;
        return *std::max_element(values->runs.begin(), values->runs.end());
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
    struct Values {
        std::vector<double> runs;
        std::optional<double> reportedMedian;

        void add(bool isReportedMedian, double value)
        {
            if (isReportedMedian)
                reportedMedian = value;
            else
                runs.push_back(value);
        }
    };

    static std::string nameOf(const Run& run)
    {
        const std::string& function = run.run_name.function_name;
        return run.run_name.args.empty() ? function : function + "/" + run.run_name.args;
    }

    const Values* find(const std::string& name, const std::string& what) const
    {
        auto samples = m_samples.find(name);
        if (samples == m_samples.end())
            return nullptr;
        auto values = samples->second.find(what);
        return values == samples->second.end() ? nullptr : &values->second;
    }
    std::optional<double> medianOf(const std::string& name, const std::string& what) const
    {
        const Values* values = find(name, what);
        if (!values)
            return std::nullopt;
        if (values->reportedMedian)
            return values->reportedMedian;
        if (values->runs.empty())
            return std::nullopt;
        std::vector<double> sorted = values->runs;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }

    Clock m_clock;
    // By benchmark, then "real", "cpu" (seconds per iteration) or
    // "counter <name>".
    std::map<std::string, std::map<std::string, Values>> m_samples;
};

// The main of a benchmark program: the library takes its own arguments;
// what is left are the program's operands, which only a program that
// takes operands accepts (else they are reported and the exit status is
// 1). body makes its environment, runs the benchmarks with the reporter it
// is given and prints from it; an exception from it ends the program with
// its text on stderr and exit status 1.
enum class Operands { Refused, Accepted };
inline int anchoredMain(
    int argc, char** argv, AnchoredReporter::Clock clock,
    const std::function<void(AnchoredReporter&, const std::vector<std::string>& operands)>& body,
    Operands operands = Operands::Refused)
{
    benchmark::Initialize(&argc, argv);
    if (operands == Operands::Refused && benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        AnchoredReporter reporter(clock);
        body(reporter, std::vector<std::string>(argv + 1, argv + argc));
        std::fflush(stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}

} // namespace testsupport
