// Console output as usual, and each benchmark's CPU time per iteration kept
// for ratios between benchmarks: with repetitions, the median stands for the
// benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration && !m_medians.contains(name))
                m_times[name] = run.GetAdjustedCPUTime();
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_times[name] = run.GetAdjustedCPUTime();
                m_medians.insert(name);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Times by benchmark function name.
    const std::map<std::string, double>& Times() const { return m_times; }

    // name's time over base's, or 0 when either did not run.
    double Ratio(const std::string& name, const std::string& base) const {
        const auto n = m_times.find(name);
        const auto b = m_times.find(base);
        return n == m_times.end() || b == m_times.end() || b->second <= 0 ? 0 : n->second / b->second;
    }

    // Runs the benchmarks the command line selects with this reporter, then
    // hands it to print.
    template <typename Print>
    static int RunAll(int argc, char** argv, Print print) {
        benchmark::Initialize(&argc, argv);
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        print(reporter);
        benchmark::Shutdown();
        return 0;
    }

private:
    std::map<std::string, double> m_times;
    std::set<std::string> m_medians;
};
