#include "ChatFileChoice.h"

#include "ChatPage.h"
#include "ChatTypes.h"
#include "DropDownSelector.h"
#include "Failures.h"
#include "ModFolders.h"

std::optional<QString> ChooseChatFile(const ChatPage& page, const QString& modFolder)
{
    const int index = page.ChatTypeComboBox->SelectedIndex();
    if (index < 0 || index >= int(ChatTypes.size())) {
        ShowNotice(QStringLiteral("You must choose one of the chat file types"));
        return std::nullopt;
    }
    if (ChatTypes[std::size_t(index)].CounterStrikeOnly && !IsCounterStrike(modFolder)) {
        ShowNotice(QStringLiteral("This chat file only applies to Counter-Strike"));
        return std::nullopt;
    }
    return ChatListPath(modFolder, index);
}
