#include "main.h"

#include "PersonalityStore.h"

// Every completed load and save of a personality refreshes the roster and its
// check marks, so that the bot.cfg page follows what is on disk.

void TMainForm::LoadPersonality()
{
    LoadShownPersonality(*this, ModFolder);
    RefreshRosterAndBotConfig();
}

// A personality that someone else changed on disk is shown as it now is.
void TMainForm::SavePersonality()
{
    switch (SaveShownPersonality(*this, ModFolder)) {
    case SaveOutcome::Saved:
        RefreshRosterAndBotConfig();
        break;
    case SaveOutcome::ChangedOnDisk:
        ShowChangedElsewhere(PersonalitySaveGuard, &TMainForm::LoadPersonality);
        break;
    case SaveOutcome::Refused:
    case SaveOutcome::NothingPending:
        break;
    }
}
