#pragma once

#include "LineEnds.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Puts the settings the user changed into the content of a bot.cfg and
// keeps every other line where and as it was. before and after are the
// page's fixed form (BotConfigLines) when it last held the file and now.
//
// A line of the fixed form that appears (a box checked away from its usual
// value, a roster entry checked) is added right after the last of the
// page's own lines that come before it in the fixed order, else right
// before the first that comes after it, else at the end; one that goes
// removes every line that set that setting ("loadbot 2", "loadbot 02",
// "\tloadbot 2 // x"); and a line the fixed form always holds (the team
// balance, the bot counts) puts its value in place of the value of the last
// line of its key, keeping that line's blanks and comment, or is added. Lines
// are read as the page's reader reads them (BotConfigFile.h). New lines end
// in the line ends given.
QString MergeBotConfig(const QByteArray& content, const QStringList& before,
                       const QStringList& after, LineEnds ends);
