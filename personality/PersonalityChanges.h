#pragma once

#include "Difference.h"

#include <QByteArray>
#include <QString>

// What changed between two versions of a personality file in the page's
// terms: one row per field whose line differs in the personality the page
// shows (the file's last record), named by the field's label, with the lines
// as the file holds them; the team line a record lacks is not set. When
// either version does not load on the page (no complete record, or a line
// of a number that is none), the versions are compared line by line.
Difference PersonalityDifference(const QByteArray& before, const QByteArray& after);

// "Skill 3 → 4; Name Rex → Max", or the line counts of a comparison line
// by line (see Summary for versions without such a change).
QString PersonalityChangeSummary(const QByteArray& before, const QByteArray& after);
