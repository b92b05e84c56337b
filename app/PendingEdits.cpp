#include "main.h"

#include "BotConfigStore.h"
#include "ApplicationTitle.h"
#include "BoundedIntegerField.h"
#include "ChatList.h"
#include "DropDownSelector.h"
#include "Failures.h"
#include "MessageSeam.h"
#include "ModFolders.h"
#include "PersonalityStore.h"
#include "UserEdits.h"

#include <QCloseEvent>

#include <array>

// An edit made with the keyboard alone, or with the mouse without crossing a
// page's background, reaches no trigger. So before a load replaces a page's
// controls, and before the window closes, every page whose controls the user
// changed saves them as its own trigger would. F5 and the put-back key are
// the loads that drop an edit of the shown page: the user asks for the file
// as it is on disk, or as it was first read.

namespace {

// The file the page holds, which the number or chat kind just chosen no
// longer names; before any load began, the one its trigger would save.
QString TargetOf(const SaveGuard& guard, const QString& triggerPath)
{
    const QString target = guard.SaveTarget();
    return target.isEmpty() ? triggerPath : target;
}

// A failure is reported and the caller goes on.
template <typename Save>
bool SavedUnderGuard(Save&& save)
{
    bool saved = false;
    RunHandler([&save, &saved] { saved = save() != SaveOutcome::Refused; });
    return saved;
}

bool AskToCloseAnyway(const QString& pageCaption)
{
    return ActiveMessageSeam().QuestionBox(
        ApplicationTitle(),
        QStringLiteral("The changes on the page \"") + pageCaption
            + QStringLiteral("\" could not be saved. Close anyway and lose them, or go back to "
                             "the window?"),
        QStringLiteral("Close Anyway"), QStringLiteral("Go Back"));
}

} // namespace

// The personality number and the chat kind choose a file; they are no part
// of one.
void TMainForm::WatchUserEdits()
{
    const auto watch = [](QWidget& tab, SaveGuard& guard, const QWidget* chooser) {
        auto* edits = new PageEdits(tab);
        edits->OnUserEdit = [&guard, chooser](QWidget& control) {
            if (&control != chooser)
                guard.UserEdited();
        };
    };
    watch(*PersonalityTab, PersonalitySaveGuard, CurrentPersonalityNumber);
    watch(*ChatTab, ChatSaveGuard, ChatTypeComboBox);
    watch(*BotConfigEditor, BotConfigSaveGuard, nullptr);
}

bool TMainForm::SavePendingPersonality()
{
    if (!PersonalitySaveGuard.HasUserEdits())
        return true;
    SaveOutcome outcome = SaveOutcome::Refused;
    const bool saved = SavedUnderGuard([this, &outcome] {
        const QString path = TargetOf(
            PersonalitySaveGuard, PersonalityFilePath(ModFolder, CurrentPersonalityNumber->Value()));
        outcome = SavePersonalityTo(*this, path, SaveWhen::OnlyPending);
        return outcome;
    });
    // The save is done whatever the roster's reading then meets: a failure
    // there is its own, reported on its own.
    if (outcome == SaveOutcome::Saved)
        RunHandler([this] { RefreshRosterAndBotConfig(); });
    return saved;
}

bool TMainForm::SavePendingChat()
{
    if (!ChatSaveGuard.HasUserEdits())
        return true;
    return SavedUnderGuard([this] {
        const QString target = ChatSaveGuard.SaveTarget();
        if (target.isEmpty())
            return SaveChatList(*this, ModFolder);
        return SaveChatListTo(*this, target, SaveWhen::OnlyPending);
    });
}

bool TMainForm::SavePendingBotConfig()
{
    if (!BotConfigSaveGuard.HasUserEdits())
        return true;
    return SavedUnderGuard([this] {
        return SaveBotConfigTo(*this, TargetOf(BotConfigSaveGuard, BotConfigPath(ModFolder)),
                               SaveWhen::OnlyPending);
    });
}

// bot.cfg goes first: a personality's save reads bot.cfg again, which would
// replace a bot.cfg edit whose save was refused.
void TMainForm::SavePendingEdits()
{
    SavePendingBotConfig();
    SavePendingChat();
    SavePendingPersonality();
}

bool TMainForm::MayClose()
{
    using PendingSave = bool (TMainForm::*)();
    const std::array<std::pair<PendingSave, const char*>, 3> pages{{
        {&TMainForm::SavePendingBotConfig, "Bot.cfg Editor"},
        {&TMainForm::SavePendingChat, "Chat Editor"},
        {&TMainForm::SavePendingPersonality, "Personality Editor"},
    }};
    bool asked = false;
    for (const auto& [save, caption] : pages) {
        if ((this->*save)() || asked)
            continue;
        asked = true;
        if (!AskToCloseAnyway(QString::fromLatin1(caption)))
            return false;
    }
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (MayClose())
        event->accept();
    else
        event->ignore();
}
