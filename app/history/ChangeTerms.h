#pragma once

#include "Difference.h"

#include <QByteArray>
#include <QString>

// What changed between two contents of a file of the game folder ("cstrike/
// bot.cfg", as the history keys it), in the terms of the page that edits it:
// the personality's and bot.cfg's settings by name, the lines of a chat
// list. A file no page edits is compared line by line.
QString ChangeSummary(const QString& file, const QByteArray& before, const QByteArray& after);
Difference ChangeDifference(const QString& file, const QByteArray& before,
                            const QByteArray& after);
