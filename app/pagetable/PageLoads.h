#pragma once

#include <QString>

#include <functional>

// The loads of a sequence that loads every page (the start-up, a mod change),
// each run on its own under the failure guard: a page that cannot load shows
// its box and refuses its saves, and the next pages still load. A failure the
// load before has just shown is not shown again, as when the roster meets the
// personality that the personality page could not read; nor, when the
// same loads run again and again, one shown since the last that completed.
class PageLoads {
public:
    // True when the load completed.
    bool Run(const std::function<void()>& load);

private:
    QString shown_;
};
