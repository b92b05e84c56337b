#pragma once

#include <QString>

#include <optional>
#include <vector>

// One row of the difference between two versions of a file, in the terms of
// the page that edits it: a setting by the name the page gives it, or a line
// the page has no name for.
struct DifferenceRow {
    QString name;                  // empty: a line of the file's own
    std::optional<QString> before; // none: not in the earlier version
    std::optional<QString> after;  // none: not in the later version
};

using Difference = std::vector<DifferenceRow>;
