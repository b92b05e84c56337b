#include "main.h"

#include "BoundedIntegerField.h"
#include "LineFile.h"
#include "ModFolders.h"

// A personality this run created and the user put back goes away; the page
// then shows the number it showed before.

// The number the page showed before the personality at path was created,
// when that one is still there, else the highest number below it with a
// file; none when there is none, since showing it would create it.
std::optional<int> TMainForm::NumberAfterRemoving(const QString& path, int removed) const
{
    const int before = numberBeforeCreating_.value(path, 0);
    if (before > 0 && before < removed && FileIsPresent(PersonalityFilePath(ModFolder, before)))
        return before;
    for (int number = removed - 1; number >= 1; --number) {
        if (FileIsPresent(PersonalityFilePath(ModFolder, number)))
            return number;
    }
    return std::nullopt;
}

void TMainForm::ShowPersonalityAfterRemoval(const QString& path)
{
    // Given up before the number changes, so that no save of it is tried.
    PersonalitySaveGuard.LoadBegins(path);
    const std::optional<int> number =
        NumberAfterRemoving(path, CurrentPersonalityNumber->AppliedValue());
    if (number)
        CurrentPersonalityNumber->SetValue(*number);
}

// The page loads the personality of the number it shows, so it would create
// the first one again at once.
QString TMainForm::WhyCreatedPersonalityStays() const
{
    if (CurrentPersonalityNumber->AppliedValue() != 1)
        return QString();
    return QStringLiteral("the page needs a first personality to show");
}
