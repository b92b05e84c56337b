#pragma once

#include "Difference.h"

#include <QByteArray>
#include <QString>

// What changed between two versions of a chat list, line by line: a chat
// list is nothing but its lines (bytes, one character each).
Difference ChatDifference(const QByteArray& before, const QByteArray& after);

// "2 chat lines changed, 1 added" (see Summary for versions without such a
// change).
QString ChatChangeSummary(const QByteArray& before, const QByteArray& after);
