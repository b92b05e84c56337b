#include "Conflicts.h"

#include "ApplicationTitle.h"
#include "MessageSeam.h"
#include "PageTable.h"

// A save that meets another program's change under an edit of the user's
// writes nothing until the user chooses, in one box, which of the two stays.

namespace {

enum ConflictAnswer { KeepMyEdit, LoadTheFile, DecideLater };

ConflictAnswer AskAboutChange(const QString& path)
{
    return static_cast<ConflictAnswer>(ActiveMessageSeam().ChoiceBox(
        ApplicationTitle(),
        path
            + QStringLiteral(" was changed by another program after the page read it, and your "
                             "edit on the page is not saved. Keep your edit and write your "
                             "changes into the file as it now is, load the file and drop your "
                             "edit, or decide later?"),
        QStringLiteral("Keep My Edit"), QStringLiteral("Load the File"),
        QStringLiteral("Decide Later")));
}

} // namespace

bool LeavesPageBehindItsFile(EditFate fate)
{
    return fate == EditFate::Dropped || fate == EditFate::Merged;
}

// Another change met while the edit is written asks again. A kept edit goes
// into the other program's file: the settings the user did not change keep
// that program's values, which the page does not show yet.
EditFate ResolveConflict(PageSlot& page)
{
    SaveGuard& guard = *page.guard;
    for (;;) {
        switch (AskAboutChange(guard.SaveTarget())) {
        case KeepMyEdit:
            guard.KeepEditOverChange();
            switch (SavePendingEdit(page)) {
            case SaveOutcome::Conflict:
                continue;
            case SaveOutcome::Refused:
                return EditFate::Unsaved;
            default:
                return EditFate::Merged;
            }
        case LoadTheFile:
            guard.DropEdit();
            return EditFate::Dropped;
        default:
            guard.DecideLater(guard.SaveTarget());
            return EditFate::Kept;
        }
    }
}
