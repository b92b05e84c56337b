#include "main.h"

#include "BoundedIntegerField.h"
#include "DropDownSelector.h"

#include <utility>

// The three pages as the window's code names them: by their tab.

SaveGuard& TMainForm::GuardOf(QWidget* page)
{
    if (page == PersonalityTab)
        return PersonalitySaveGuard;
    if (page == ChatTab)
        return ChatSaveGuard;
    return BotConfigSaveGuard;
}

QString TMainForm::CaptionOf(const QWidget* page) const
{
    if (page == PersonalityTab)
        return QStringLiteral("Personality Editor");
    if (page == ChatTab)
        return QStringLiteral("Chat Editor");
    return QStringLiteral("Bot.cfg Editor");
}

std::array<QWidget*, 3> TMainForm::PagesInSavingOrder() const
{
    return {BotConfigEditor, ChatTab, PersonalityTab};
}

void TMainForm::LoadPage(QWidget* page)
{
    if (page == PersonalityTab) {
        LoadPersonality();
    } else if (page == ChatTab) {
        LoadChat();
    } else {
        UpdateBotCheckList();
        LoadBotConfig();
    }
}

// The program's own sets: the selectors raise nothing, and the number field
// is set without its handler, so that no load runs.
void TMainForm::PutChoosersBack()
{
    PutModSelectorBack();
    ChatTypeComboBox->SetSelectedIndex(loadedChatKind_);
    const ControlEvent numberChange = std::exchange(CurrentPersonalityNumber->OnChange, nullptr);
    CurrentPersonalityNumber->SetValue(loadedNumber_);
    CurrentPersonalityNumber->OnChange = numberChange;
}
