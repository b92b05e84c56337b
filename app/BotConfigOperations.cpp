#include "main.h"

#include "BotConfigStore.h"
#include "BotRoster.h"

// The bot.cfg page's roster, load and save, always for the current mod.

void TMainForm::UpdateBotCheckList()
{
    RebuildRoster(*this, ModFolder);
}

void TMainForm::LoadBotConfig()
{
    LoadShownBotConfig(*this, ModFolder);
}

void TMainForm::SaveBotConfig()
{
    SaveShownBotConfig(*this, ModFolder);
}
