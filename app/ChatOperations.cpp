#include "main.h"

#include "ChatList.h"

// The chat page's load and save of the chosen chat list.

void TMainForm::LoadChat()
{
    LoadChatList(*this, ModFolder);
}

void TMainForm::SaveChat()
{
    SaveChatList(*this, ModFolder);
}
