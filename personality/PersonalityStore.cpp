#include "PersonalityStore.h"

#include "BoundedIntegerField.h"
#include "Conversions.h"
#include "Exceptions.h"
#include "Failures.h"
#include "KeptCopyNotice.h"
#include "LineFile.h"
#include "LineLayout.h"
#include "ModFolders.h"
#include "PersonalityFile.h"
#include "PersonalityMerge.h"
#include "PersonalityPage.h"

#include <QFileInfo>

namespace {

// The page keeps what it showed until the new values are set, so a folder or
// file that cannot be created leaves it unchanged.
QByteArray CreateNewPersonality(PersonalityPage& page, const QString& modFolder, int number,
                                NewPersonality creation)
{
    if (creation == NewPersonality::Announced)
        ShowNotice(QStringLiteral("No personality number ") + IntegerToText(number)
                   + QStringLiteral(" - creating a default personality"));
    const QString folder = PersonalityFolderPath(modFolder, number);
    if (!QFileInfo(folder).isDir())
        MakeFolder(folder);
    LineFile file = CreateForWriting(PersonalityFilePath(modFolder, number));
    SetDefaultPersonality(page);
    WritePersonality(file, page);
    const QByteArray written = ContentOf(file);
    CloseLineFile(file);
    return written;
}

} // namespace

// A folder or a pipe in the file's place is no missing personality: its
// reading says what it is, instead of announcing a creation that would fail.
bool LoadShownPersonality(PersonalityPage& page, const QString& modFolder, NewPersonality creation)
{
    const int number = page.CurrentPersonalityNumber->AppliedValue();
    const QString path = PersonalityFilePath(modFolder, number);
    SaveGuard& guard = page.PersonalitySaveGuard;
    return ForFile(path, [&] {
        TellOfKeptCopies(path);
        guard.LoadBegins(path);
        if (!AnythingIsAt(path)) {
            guard.Holds(path, CreateNewPersonality(page, modFolder, number, creation));
            return true;
        }
        ReadThroughGuard(guard, path, [&] {
            LineFile file = OpenForReading(path);
            ReadPersonality(file, page);
            const QByteArray content = ContentOf(file);
            CloseLineFile(file);
            return std::optional<QByteArray>(content);
        });
        return false;
    });
}

SaveOutcome SaveShownPersonality(PersonalityPage& page, const QString& modFolder)
{
    const int number = page.CurrentPersonalityNumber->AppliedValue();
    return SavePersonalityTo(page, PersonalityFilePath(modFolder, number), SaveWhen::Always);
}

// A file that holds a whole personality gets the user's changes alone; any
// other the page's whole personality.
SaveOutcome SavePersonalityTo(PersonalityPage& page, const QString& path, SaveWhen when)
{
    SaveGuard& guard = page.PersonalitySaveGuard;
    return SaveThroughGuard(guard, path, when, [&](LineFile& file) {
        const std::optional<QByteArray> content = guard.HeldContentOf(path);
        std::optional<QString> merged;
        if (content && guard.FormWhenHeld())
            merged = MergePersonality(*content, LinesOfForm(*guard.FormWhenHeld()),
                                      PersonalityLines(page), guard.LineEndsToWrite());
        if (merged)
            WritePlainText(file, *merged);
        else
            WritePersonality(file, page);
    });
}
