#include "main.h"

#include "Conflicts.h"
#include "TextArea.h"
#include "UserEdits.h"

// A trigger finds that another program changed the page's file while the
// user had no edit on it, and the page shows the file as it now is; with an
// edit, the user's answer leaves the file as the page does not show it yet.
// The user did not ask for that load: the chat text keeps its place, so that
// the next key typed lands where the user left the cursor. The window's title
// says why the page changed until the user's next edit.

void TMainForm::LoadKeepingPlace(const std::function<void()>& load)
{
    const TextArea::Place place = ChatEditMemo->CurrentPlace();
    load();
    ChatEditMemo->ReturnTo(place);
}

void TMainForm::ShowChangedElsewhere(const SaveGuard& guard, void (TMainForm::*load)())
{
    LoadKeepingPlace([this, load] { (this->*load)(); });
    // First, where a narrow title bar still shows it.
    setWindowTitle(guard.SaveTarget() + QStringLiteral(" was changed elsewhere and loaded - ")
                   + plainTitle_);
}

void TMainForm::FollowOtherProgramsChange(QWidget* page, SaveOutcome outcome,
                                          void (TMainForm::*load)())
{
    if (outcome == SaveOutcome::ChangedOnDisk)
        ShowChangedElsewhere(*RowOf(pages_, page).guard, load);
    else if (outcome == SaveOutcome::Conflict
             && LeavesPageBehindItsFile(ResolveConflict(RowOf(pages_, page))))
        LoadKeepingPlace([this, load] { (this->*load)(); });
}

void TMainForm::WireChangedElsewhereSign()
{
    plainTitle_ = windowTitle();
    auto* edits = new PageEdits(*this);
    edits->OnUserEdit = [this](QWidget&) { setWindowTitle(plainTitle_); };
}
