#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Google Benchmark's console output, keeping each benchmark's time and
// counters of every pass so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // The median over the passes of a benchmark's time, in its own unit, or
    // of one of its counters; 0 when it did not run.
    double MedianTime(const std::string& name) const;
    double MedianCounter(const std::string& name, const std::string& counter) const;
    // The largest value a counter took in any pass.
    double LargestCounter(const std::string& name, const std::string& counter) const;

private:
    // Per benchmark, per measure ("" for the time), the value of every pass.
    std::map<std::string, std::map<std::string, std::vector<double>>> values_;
};
