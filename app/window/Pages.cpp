#include "main.h"

#include "BoundedIntegerField.h"
#include "ChatFileChoice.h"
#include "ChatList.h"
#include "DropDownSelector.h"
#include "ModFolders.h"

#include <QTabWidget>

// The window's three pages as the features that concern every page see
// them, in the order their pending edits are saved. Each is named by the
// caption its tab was given.

void TMainForm::BuildPageTable()
{
    const auto caption = [this](QWidget* tab) {
        return PageControl->tabText(PageControl->indexOf(tab));
    };
    pages_ = {{
        {BotConfigEditor, caption(BotConfigEditor), &BotConfigSaveGuard, nullptr,
         [this] { return std::optional<QString>(BotConfigPath(ModFolder)); },
         [this] {
             UpdateBotCheckList();
             LoadBotConfig();
         },
         [this] { return SavePendingBotConfig(); }, nullptr, nullptr, nullptr},
        {ChatTab, caption(ChatTab), &ChatSaveGuard, ChatTypeComboBox,
         [this] { return ChooseChatFile(*this, ModFolder); }, [this] { LoadChat(); },
         [this] { return SavePendingChat(); }, nullptr,
         [this](const QString& path) { ShowRemovedChatList(*this, path); }, nullptr},
        {PersonalityTab, caption(PersonalityTab), &PersonalitySaveGuard,
         CurrentPersonalityNumber,
         [this] {
             return std::optional<QString>(
                 PersonalityFilePath(ModFolder, CurrentPersonalityNumber->AppliedValue()));
         },
         [this] { LoadPersonality(); }, [this] { return SavePendingPersonality(); },
         [this] { return WhyCreatedPersonalityStays(); },
         [this](const QString& path) { ShowPersonalityAfterRemoval(path); }, nullptr},
    }};
    // Each page's own load, keeping the user's place.
    for (PageSlot& page : pages_)
        page.reloadInPlace = [this, &page] { LoadKeepingPlace(page.reload); };
}
