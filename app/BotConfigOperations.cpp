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

// A bot.cfg that someone else changed on disk is shown as it now is.
void TMainForm::SaveBotConfig()
{
    if (SaveShownBotConfig(*this, ModFolder) == SaveOutcome::ChangedOnDisk)
        ShowChangedElsewhere(BotConfigSaveGuard, &TMainForm::LoadBotConfig);
}

// The roster rebuild drops the check marks, so an edit of the page's is
// saved before it.
void TMainForm::RefreshRosterAndBotConfig()
{
    SavePendingBotConfig();
    UpdateBotCheckList();
    LoadBotConfig();
}
