#include "main.h"

#include "PersonalityStore.h"

// Every completed load and save of a personality refreshes the roster and its
// check marks, so that the bot.cfg page follows what is on disk.

void TMainForm::LoadPersonality()
{
    LoadShownPersonality(*this, ModFolder);
    UpdateBotCheckList();
    LoadBotConfig();
}

void TMainForm::SavePersonality()
{
    if (!SaveShownPersonality(*this, ModFolder))
        return;
    UpdateBotCheckList();
    LoadBotConfig();
}
