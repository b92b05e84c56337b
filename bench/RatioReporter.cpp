#include "RatioReporter.h"

#include <algorithm>

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred)
            continue;
        const std::string name = run.run_name.function_name;
        times_[name].push_back(run.GetAdjustedRealTime());
        for (const auto& [counter, value] : run.counters) {
            double& largest = counters_[name][counter];
            largest = std::max(largest, double(value));
        }
    }
}

double RatioReporter::MedianTime(const std::string& name) const
{
    const auto found = times_.find(name);
    if (found == times_.end())
        return 0;
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

double RatioReporter::LargestCounter(const std::string& name, const std::string& counter) const
{
    const auto found = counters_.find(name);
    if (found == counters_.end())
        return 0;
    const auto value = found->second.find(counter);
    return value == found->second.end() ? 0 : value->second;
}
