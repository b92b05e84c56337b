#include "SaveSteps.h"

#include <chrono>

namespace {

SaveStepTimes* timing = nullptr;
// The step that counts now, and since when.
const TimedSaveStep* innermost = nullptr;
std::int64_t since = 0;

std::int64_t Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void TimeSaveSteps(SaveStepTimes* times)
{
    timing = times;
    innermost = nullptr;
}

TimedSaveStep::TimedSaveStep(SaveStep step) : times_(timing), step_(step)
{
    if (times_ == nullptr)
        return;
    const std::int64_t now = Now();
    if (innermost != nullptr)
        (*times_)[std::size_t(innermost->step_)] += now - since;
    outer_ = innermost;
    innermost = this;
    since = now;
}

TimedSaveStep::~TimedSaveStep()
{
    if (times_ == nullptr || times_ != timing)
        return;
    const std::int64_t now = Now();
    (*times_)[std::size_t(step_)] += now - since;
    innermost = outer_;
    since = now;
}
