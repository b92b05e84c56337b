#include "main.h"

#include "BoundedIntegerField.h"
#include "ModFolders.h"
#include "PersonalityStore.h"

// Every completed load and save of a personality refreshes the roster and its
// check marks, so that the bot.cfg page follows what is on disk.

void TMainForm::LoadPersonality()
{
    const int shownBefore = loadedNumber_;
    loadedNumber_ = CurrentPersonalityNumber->Value();
    if (LoadShownPersonality(*this, ModFolder))
        numberBeforeCreating_.insert(PersonalityFilePath(ModFolder, loadedNumber_), shownBefore);
    RefreshRosterAndBotConfig();
}

// A personality that someone else changed on disk is shown as it now is,
// unless the user keeps an edit over it.
void TMainForm::SavePersonality()
{
    switch (SaveShownPersonality(*this, ModFolder)) {
    case SaveOutcome::Saved:
        RefreshRosterAndBotConfig();
        break;
    case SaveOutcome::ChangedOnDisk:
        ShowChangedElsewhere(PersonalitySaveGuard, &TMainForm::LoadPersonality);
        break;
    case SaveOutcome::Conflict:
        ResolveConflictAtTrigger(PersonalityTab);
        break;
    case SaveOutcome::Refused:
    case SaveOutcome::NothingPending:
        break;
    }
}
