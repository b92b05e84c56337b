#pragma once

#include "Difference.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The pieces of the one-line summary of a change between two versions of a
// file, as the history shows it next to each version.

// A value in running text: in double quotes when it is empty or begins or
// ends with a blank, which would not show otherwise.
QString ShownValue(const QString& value);

// "Skill 3 → 4"; a side the version lacks shows as "not set".
QString ChangePart(const DifferenceRow& row);

// How many rows without a name changed, came and went, in one part:
// "2 chat lines changed, 1 added", "1 other line removed". Counts of none are
// left out; empty when there are no such rows. noun is singular.
QString LineCountsPart(const Difference& rows, const QString& noun);

// A setting's name from the caption the page gives it: without the
// "Enable" some check boxes begin with, the unit in brackets and the runs of
// blanks that line the units up ("Enable KnifeMode": "KnifeMode",
// "Skill (1 = best, 5 = worst)": "Skill").
QString SettingName(const QString& caption);

// The parts joined by "; ", the first four and how many more there are.
// Versions that are the same say "no change"; without parts, versions whose
// lines read the same say "line ends changed", and any others (a difference
// the page does not show) "no change in what the page shows".
QString Summary(const QByteArray& before, const QByteArray& after, const QStringList& parts);
