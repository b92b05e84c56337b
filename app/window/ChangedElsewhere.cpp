#include "main.h"

#include "Conflicts.h"
#include "TextArea.h"
#include "UserEdits.h"

// A trigger finds that another program changed the page's file while the
// user had no edit on it, and the page shows the file as it now is. The user
// did not ask for that load: the chat text keeps its place, so that the next
// key typed lands where the user left the cursor, and the window's title
// says why the page changed until the user's next edit.

void TMainForm::ShowChangedElsewhere(const SaveGuard& guard, void (TMainForm::*load)())
{
    const TextArea::Place place = ChatEditMemo->CurrentPlace();
    (this->*load)();
    ChatEditMemo->ReturnTo(place);
    // First, where a narrow title bar still shows it.
    setWindowTitle(guard.SaveTarget() + QStringLiteral(" was changed elsewhere and loaded - ")
                   + plainTitle_);
}

void TMainForm::FollowOtherProgramsChange(QWidget* page, SaveOutcome outcome,
                                          void (TMainForm::*load)())
{
    PageSlot& slot = RowOf(pages_, page);
    if (outcome == SaveOutcome::ChangedOnDisk)
        ShowChangedElsewhere(*slot.guard, load);
    else if (outcome == SaveOutcome::Conflict)
        ResolveConflictAtTrigger(slot);
}

void TMainForm::WireChangedElsewhereSign()
{
    plainTitle_ = windowTitle();
    auto* edits = new PageEdits(*this);
    edits->OnUserEdit = [this](QWidget&) { setWindowTitle(plainTitle_); };
}
