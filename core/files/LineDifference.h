#pragma once

#include "Difference.h"

#include <QStringList>

#include <vector>

// The lines that differ between two versions, as rows without a name, in
// the order of the file: the fewest lines taken away and put in that turn
// one version into the other. Where lines went and others came in their
// place, each gone line is paired with a new one as a changed line, in
// order; the rest went (no after) or came (no before). A line moved
// elsewhere went from one place and came at another.
Difference LineDifference(const QStringList& before, const QStringList& after);

// For each line of before, the index of the line of after that the same
// shortest script keeps it as, or -1 where the script takes it away.
std::vector<qsizetype> KeptLines(const QStringList& before, const QStringList& after);
