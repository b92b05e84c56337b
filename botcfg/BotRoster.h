#pragma once

#include <QString>

struct BotConfigPage;

// Lists the mod's personalities in the roster, unchecked: the first line of
// personality 1, 2, 3 and so on, up to the first number without a file. An
// empty personality file gives an entry without text. Until bot.cfg has been
// read again the page does not hold it: the check marks are gone.
void RebuildRoster(BotConfigPage& page, const QString& modFolder);
