#pragma once

#include "Difference.h"

#include <QByteArray>
#include <QString>

#include <functional>

// What changed between two versions of a bot.cfg in the page's terms, as the
// page's reader takes each version: a check box whose state changed ("off",
// "on"), named by its caption; a personality that joins or leaves the game
// (named by botName of its number, "personality N" when that is empty; the
// "loadbot N" line on the side that has it); a bot count by its label, not
// set when no line gives it; then the lines the page does not own, line by
// line. When either version does not load on the page (a number of the
// page's own that is none) the versions are compared line by line.
Difference BotConfigDifference(const QByteArray& before, const QByteArray& after,
                               const std::function<QString(int)>& botName);

// "KnifeMode on; Rex joins (loadbot 5); Minimum Bots 2 → 3; 1 other line
// added" (see Summary for versions without such a change).
QString BotConfigChangeSummary(const QByteArray& before, const QByteArray& after,
                               const std::function<QString(int)>& botName);
