#include "RatioReporter.h"

#include <algorithm>

namespace {

const std::string Time;

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred)
            continue;
        auto& measures = values_[run.run_name.function_name];
        measures[Time].push_back(run.GetAdjustedRealTime());
        for (const auto& [counter, value] : run.counters)
            measures[counter].push_back(double(value));
    }
}

double RatioReporter::MedianTime(const std::string& name) const
{
    return MedianCounter(name, Time);
}

double RatioReporter::MedianCounter(const std::string& name, const std::string& counter) const
{
    const auto found = values_.find(name);
    if (found == values_.end())
        return 0;
    const auto measure = found->second.find(counter);
    return measure == found->second.end() ? 0 : Median(measure->second);
}

double RatioReporter::LargestCounter(const std::string& name, const std::string& counter) const
{
    const auto found = values_.find(name);
    if (found == values_.end())
        return 0;
    const auto measure = found->second.find(counter);
    if (measure == found->second.end() || measure->second.empty())
        return 0;
    return *std::max_element(measure->second.begin(), measure->second.end());
}
