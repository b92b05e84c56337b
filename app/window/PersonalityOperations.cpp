#include "main.h"

#include "ApplicationTitle.h"
#include "BoundedIntegerField.h"
#include "Conversions.h"
#include "Failures.h"
#include "LineFile.h"
#include "MessageSeam.h"
#include "ModFolders.h"
#include "PersonalityStore.h"

// Every completed load and save of a personality refreshes the roster and its
// check marks, so that the bot.cfg page follows what is on disk.

namespace {

bool AskToCreatePersonality(int number)
{
    return ActiveMessageSeam().ConfirmBox(
        ApplicationTitle(),
        QStringLiteral("No personality number ") + IntegerToText(number)
            + QStringLiteral(" - create a default personality?"),
        QStringLiteral("Create"), QStringLiteral("Don't Create"));
}

} // namespace

void TMainForm::LoadPersonality()
{
    LoadPersonalityAs(NewPersonality::Announced);
}

void TMainForm::LoadPersonalityAs(NewPersonality creation)
{
    LoadPersonalityAlone(creation);
    RefreshRosterAndBotConfig();
}

void TMainForm::LoadPersonalityAlone(NewPersonality creation)
{
    const int shownBefore = loadedNumber_;
    loadedNumber_ = CurrentPersonalityNumber->AppliedValue();
    if (LoadShownPersonality(*this, ModFolder, creation))
        numberBeforeCreating_.insert(PersonalityFilePath(ModFolder, loadedNumber_), shownBefore);
}

// The user may have come to a number without a file by mistake; the program's
// own choice (the first personality after a mod change) is only announced. A
// folder in the file's place is no missing file: its load says so.
std::optional<NewPersonality> TMainForm::CreationOfChosenPersonality()
{
    const int number = CurrentPersonalityNumber->AppliedValue();
    if (!CurrentPersonalityNumber->ReportsUsersChange()
        || AnythingIsAt(PersonalityFilePath(ModFolder, number)))
        return NewPersonality::Announced;
    if (AskToCreatePersonality(number))
        return NewPersonality::Agreed;
    CurrentPersonalityNumber->PutBackPreviousText();
    return std::nullopt;
}

// A personality that someone else changed on disk is shown as it now is,
// unless the user keeps an edit over it.
void TMainForm::SavePersonality()
{
    const SaveOutcome outcome = SaveShownPersonality(*this, ModFolder);
    if (outcome == SaveOutcome::Saved)
        RefreshRosterAndBotConfig();
    else
        FollowOtherProgramsChange(PersonalityTab, outcome, &TMainForm::LoadPersonality);
}

// The save is done whatever the roster's reading then meets: a failure there
// is its own, reported on its own.
SaveOutcome TMainForm::SavePendingPersonality()
{
    const int number = CurrentPersonalityNumber->AppliedValue();
    const QString path =
        FileThePageHolds(PersonalitySaveGuard, PersonalityFilePath(ModFolder, number));
    const SaveOutcome outcome = SavePersonalityTo(*this, path, SaveWhen::OnlyPending);
    if (outcome == SaveOutcome::Saved)
        RunHandler([this] { RefreshRosterAndBotConfig(); });
    return outcome;
}
