#include "main.h"

#include "ChatList.h"

// The chat page's load and save of the chosen chat list.

void TMainForm::LoadChat()
{
    LoadChatList(*this, ModFolder);
}

// A list that someone else changed on disk is shown as it now is.
void TMainForm::SaveChat()
{
    if (SaveChatList(*this, ModFolder) == SaveOutcome::ChangedOnDisk)
        ShowChangedElsewhere(ChatSaveGuard, &TMainForm::LoadChat);
}
