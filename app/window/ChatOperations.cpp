#include "main.h"

#include "ChatList.h"
#include "DropDownSelector.h"

// The chat page's load and save of the chosen chat list.

void TMainForm::LoadChat()
{
    loadedChatKind_ = ChatTypeComboBox->SelectedIndex();
    LoadChatList(*this, ModFolder);
}

// A list that someone else changed on disk is shown as it now is, unless
// the user keeps an edit over it.
void TMainForm::SaveChat()
{
    FollowOtherProgramsChange(ChatTab, SaveChatList(*this, ModFolder), &TMainForm::LoadChat);
}

// Before any load began, the list the chat kind chooses.
SaveOutcome TMainForm::SavePendingChat()
{
    const QString target = ChatSaveGuard.SaveTarget();
    if (target.isEmpty())
        return SaveChatList(*this, ModFolder);
    return SaveChatListTo(*this, target, SaveWhen::OnlyPending);
}
