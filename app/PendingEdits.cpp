#include "main.h"

#include "ApplicationTitle.h"
#include "BotConfigStore.h"
#include "BoundedIntegerField.h"
#include "ChatList.h"
#include "DropDownSelector.h"
#include "Failures.h"
#include "MessageSeam.h"
#include "ModFolders.h"
#include "PersonalityStore.h"
#include "UserEdits.h"

#include <QCloseEvent>

// An edit made with the keyboard alone, or with the mouse without crossing a
// page's background, reaches no trigger. So before a load replaces a page's
// controls, and before the window closes, every such page saves them as its
// own trigger would. An edit that cannot be saved is dropped only when the
// user says so; F5 and the put-back key are the loads that drop an edit of
// the shown page: the user asks for the file as it is on disk, or as it was
// first read.

namespace {

// The file the page holds, which the number or chat kind just chosen no
// longer names; before any load began, the one its trigger would save.
QString TargetOf(const SaveGuard& guard, const QString& triggerPath)
{
    const QString target = guard.SaveTarget();
    return target.isEmpty() ? triggerPath : target;
}

// A failure is reported and counts as a refusal.
template <typename Save>
SaveOutcome SavedUnderGuard(Save&& save)
{
    SaveOutcome outcome = SaveOutcome::Refused;
    RunHandler([&save, &outcome] { outcome = save(); });
    return outcome;
}

// Going on loses the page's edit; going back is the careful answer.
bool AskToGoOn(const QString& pageCaption, const QString& question, const QString& answer)
{
    return ActiveMessageSeam().QuestionBox(
        ApplicationTitle(),
        QStringLiteral("The changes on the page \"") + pageCaption
            + QStringLiteral("\" could not be saved. ") + question,
        answer, QStringLiteral("Go Back"));
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

SaveOutcome TMainForm::SavePendingPersonality()
{
    const SaveOutcome outcome = SavedUnderGuard([this] {
        const QString path = TargetOf(
            PersonalitySaveGuard, PersonalityFilePath(ModFolder, CurrentPersonalityNumber->AppliedValue()));
        return SavePersonalityTo(*this, path, SaveWhen::OnlyPending);
    });
    // The save is done whatever the roster's reading then meets: a failure
    // there is its own, reported on its own.
    if (outcome == SaveOutcome::Saved)
        RunHandler([this] { RefreshRosterAndBotConfig(); });
    return outcome;
}

SaveOutcome TMainForm::SavePendingChat()
{
    return SavedUnderGuard([this] {
        const QString target = ChatSaveGuard.SaveTarget();
        if (target.isEmpty())
            return SaveChatList(*this, ModFolder);
        return SaveChatListTo(*this, target, SaveWhen::OnlyPending);
    });
}

SaveOutcome TMainForm::SavePendingBotConfig()
{
    return SavedUnderGuard([this] {
        return SaveBotConfigTo(*this, TargetOf(BotConfigSaveGuard, BotConfigPath(ModFolder)),
                               SaveWhen::OnlyPending);
    });
}

SaveOutcome TMainForm::SavePendingEdit(QWidget* page)
{
    if (page == PersonalityTab)
        return SavePendingPersonality();
    if (page == ChatTab)
        return SavePendingChat();
    return SavePendingBotConfig();
}

TMainForm::EditFate TMainForm::SettlePendingEdit(QWidget* page, bool askAgain)
{
    SaveGuard& guard = GuardOf(page);
    if (!guard.HasUserEdits())
        return EditFate::Settled;
    if (askAgain)
        guard.AskAgain();
    switch (SavePendingEdit(page)) {
    case SaveOutcome::Conflict:
        return ResolveConflict(page);
    case SaveOutcome::Refused:
        return EditFate::Unsaved;
    default:
        return EditFate::Settled;
    }
}

bool TMainForm::MayReplacePages(std::initializer_list<QWidget*> replaced)
{
    for (QWidget* page : PagesInSavingOrder()) {
        if (std::find(replaced.begin(), replaced.end(), page) == replaced.end())
            continue;
        const EditFate fate = SettlePendingEdit(page, true);
        if (fate == EditFate::Kept
            || (fate == EditFate::Unsaved
                && !AskToGoOn(CaptionOf(page),
                              QStringLiteral("Load anyway and lose them, or go back to them?"),
                              QStringLiteral("Load Anyway"))))
            return false;
        GuardOf(page).DropEdit();
    }
    return true;
}

bool TMainForm::MayClose()
{
    bool asked = false;
    for (QWidget* page : PagesInSavingOrder()) {
        const EditFate fate = SettlePendingEdit(page, true);
        if (fate == EditFate::Kept)
            return false;
        if (fate != EditFate::Unsaved || asked)
            continue;
        asked = true;
        if (!AskToGoOn(CaptionOf(page),
                       QStringLiteral("Close anyway and lose them, or go back to the window?"),
                       QStringLiteral("Close Anyway")))
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
