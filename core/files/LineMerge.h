#pragma once

#include <QStringList>

// The lines of theirs with the changes that turned base into mine made in
// them too: a run of lines mine changed, took away or put in is changed,
// taken away or put in where it stands in theirs. Where theirs changed the
// same lines, mine's stand, followed by the lines theirs alone put there;
// lines both put in the same place are there once.
QStringList MergeLines(const QStringList& base, const QStringList& mine, const QStringList& theirs);
