#include "main.h"

#include "BotConfigStore.h"
#include "BotRoster.h"
#include "ModFolders.h"
#include "PendingEdits.h"

// The bot.cfg page's roster, load and save, always for the current mod.

void TMainForm::UpdateBotCheckList()
{
    RebuildRoster(*this, ModFolder);
}

void TMainForm::LoadBotConfig()
{
    LoadShownBotConfig(*this, ModFolder);
}

// A bot.cfg that someone else changed on disk is shown as it now is, unless
// the user keeps an edit over it.
void TMainForm::SaveBotConfig()
{
    FollowOtherProgramsChange(BotConfigEditor, SaveShownBotConfig(*this, ModFolder),
                              &TMainForm::LoadBotConfig);
}

// The roster rebuild drops the check marks, so an edit of the page's is
// saved before it; one that stays unsaved keeps the page as it is.
void TMainForm::RefreshRosterAndBotConfig()
{
    const EditFate fate = SettlePendingEdit(RowOf(pages_, BotConfigEditor), false);
    if (fate == EditFate::Kept || fate == EditFate::Unsaved)
        return;
    // Each movement over the personality page's background reads them: a
    // personality or bot.cfg that cannot be read is told once, not at every
    // movement, and the Bot.cfg tab's sign stays until they are read.
    rosterRefreshes_.Run([this] {
        UpdateBotCheckList();
        LoadBotConfig();
    });
}

SaveOutcome TMainForm::SavePendingBotConfig()
{
    return SaveBotConfigTo(*this, FileThePageHolds(BotConfigSaveGuard, BotConfigPath(ModFolder)),
                           SaveWhen::OnlyPending);
}
