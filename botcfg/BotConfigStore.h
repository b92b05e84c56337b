#pragma once

#include "SaveGuard.h"

#include <QString>

struct BotConfigPage;

// Shows the mod's bot.cfg on the page, its roster already built. A missing
// file leaves the reset values and is no failure. Afterwards the page holds
// the file completely.
void LoadShownBotConfig(BotConfigPage& page, const QString& modFolder);

// Writes the page into the mod's bot.cfg, creating it when missing. A file the
// page does not hold is not overwritten (see SaveGuard).
SaveOutcome SaveShownBotConfig(BotConfigPage& page, const QString& modFolder);

// Saves the page into the bot.cfg at path, the one the page holds.
SaveOutcome SaveBotConfigTo(BotConfigPage& page, const QString& path, SaveWhen when);
