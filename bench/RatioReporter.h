#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Google Benchmark's console output, keeping each benchmark's times (one per
// repetition) and counters so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // The median time of a benchmark, in its own unit; 0 when it did not run.
    double MedianTime(const std::string& name) const;
    // The largest value a counter took in any repetition.
    double LargestCounter(const std::string& name, const std::string& counter) const;

private:
    std::map<std::string, std::vector<double>> times_;
    std::map<std::string, std::map<std::string, double>> counters_;
};
