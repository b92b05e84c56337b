#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The steps of a save, timed only for a measuring program that asks (the
// benchmark), so that the time a save takes beyond its system calls can be
// told apart. The program itself never asks: then a step costs one test of
// a pointer and reads no clock.
enum class SaveStep {
    ReadAndCompare, // reading the file and comparing it with what the page holds
    Merge,          // the page's lines put into the file's content
    PageForm,       // the page's form kept after the save, which tells the user's edits apart
    WriteAndSync,   // writing, syncing and renaming the new file, with their checks
    Records,        // the notes of the record of first readings and of the history
};
inline constexpr std::size_t SaveStepCount = 5;

// The time spent in each step, in nanoseconds, by the index of its SaveStep.
using SaveStepTimes = std::array<std::int64_t, SaveStepCount>;

// From now on the steps add their time to times; nullptr stops the timing.
void TimeSaveSteps(SaveStepTimes* times);

// Counts the time from its construction to its end for step, while timing is
// on. A step inside another counts for itself alone: the outer one pauses.
class TimedSaveStep {
public:
    explicit TimedSaveStep(SaveStep step);
    ~TimedSaveStep();
    TimedSaveStep(const TimedSaveStep&) = delete;
    TimedSaveStep& operator=(const TimedSaveStep&) = delete;

private:
    SaveStepTimes* times_;
    const TimedSaveStep* outer_ = nullptr;
    SaveStep step_;
};
