#include "PendingEdits.h"

#include "ApplicationTitle.h"
#include "Failures.h"
#include "MessageSeam.h"
#include "UserEdits.h"

#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <vector>

// An edit made with the keyboard alone, or with the mouse without crossing a
// page's background, reaches no trigger. So before a load replaces a page's
// controls, and before the window closes, every such page saves them as its
// own trigger would. An edit that cannot be saved is dropped only when the
// user says so; F5 and the put-back key are the loads that drop an edit of
// the shown page: the user asks for the file as it is on disk, or as it was
// first read.

namespace {

// "the page "A"", "the pages "A" and "B"", "the pages "A", "B" and "C"".
QString PagesNamed(QStringList captions)
{
    for (QString& caption : captions)
        caption = QLatin1Char('"') + caption + QLatin1Char('"');
    const QString last = captions.takeLast();
    if (captions.isEmpty())
        return QStringLiteral("the page ") + last;
    return QStringLiteral("the pages ") + captions.join(QStringLiteral(", "))
           + QStringLiteral(" and ") + last;
}

// Going on loses the pages' edits; going back is the careful answer.
bool AskToGoOn(const QStringList& pageCaptions, const QString& question, const QString& answer)
{
    return ActiveMessageSeam().QuestionBox(
        ApplicationTitle(),
        QStringLiteral("The changes on ") + PagesNamed(pageCaptions)
            + QStringLiteral(" could not be saved. ") + question,
        answer, QStringLiteral("Go Back"));
}

// What the answers so far leave to do once every page is asked: the pages
// whose answer changed their file under them, and those whose edit the user
// agreed to lose to the load.
struct Answers {
    std::vector<PageSlot*> behindTheirFiles;
    std::vector<PageSlot*> losingTheirEdits;
};

// False when the user keeps the page's edit, and the load must not run.
bool MayReplace(PageSlot& page, Answers& answers)
{
    const EditFate fate = SettlePendingEdit(page, true);
    if (fate == EditFate::Kept
        || (fate == EditFate::Unsaved
            && !AskToGoOn({page.caption},
                          QStringLiteral("Load anyway and lose them, or go back to them?"),
                          QStringLiteral("Load Anyway"))))
        return false;
    if (LeavesPageBehindItsFile(fate))
        answers.behindTheirFiles.push_back(&page);
    answers.losingTheirEdits.push_back(&page);
    return true;
}

// When nothing replaces them after all, the pages whose answer changed their
// file under them show it as it now is. Their choosers still name that file:
// only the personality number and the chat kind change before the question,
// and their pages are the last asked.
void ShowFilesAgain(const std::vector<PageSlot*>& pages)
{
    for (PageSlot* page : pages)
        RunHandler(page->reloadInPlace);
}

// An edit is lost only to the load it was given up for: should a later page
// go back, the pages before it keep their edits pending, as they show them.
bool MayReplaceEach(PageTable& pages, const std::function<bool(const PageSlot&)>& replaced)
{
    Answers answers;
    for (PageSlot& page : pages) {
        if (replaced(page) && !MayReplace(page, answers)) {
            ShowFilesAgain(answers.behindTheirFiles);
            return false;
        }
    }
    for (PageSlot* page : answers.losingTheirEdits)
        page->guard->DropEdit();
    return true;
}

} // namespace

// The personality number and the chat kind choose a file; they are no part
// of one.
void WatchUserEdits(PageTable& pages)
{
    for (PageSlot& page : pages) {
        auto* edits = new PageEdits(*page.tab);
        edits->OnUserEdit = [&page](QWidget& control) {
            if (&control != page.chooser)
                page.guard->UserEdited();
        };
    }
}

EditFate SettlePendingEdit(PageSlot& page, bool askAgain)
{
    if (!page.guard->HasUserEdits())
        return EditFate::Settled;
    if (askAgain)
        page.guard->AskAgain();
    switch (SavePendingEdit(page)) {
    case SaveOutcome::Conflict:
        return ResolveConflict(page);
    case SaveOutcome::Refused:
        return EditFate::Unsaved;
    default:
        return EditFate::Settled;
    }
}

bool MayReplacePages(PageTable& pages, std::initializer_list<const QWidget*> replaced)
{
    return MayReplaceEach(pages, [replaced](const PageSlot& page) {
        return std::find(replaced.begin(), replaced.end(), page.tab) != replaced.end();
    });
}

bool MayReplaceEveryPage(PageTable& pages)
{
    return MayReplaceEach(pages, [](const PageSlot&) { return true; });
}

// Every page is saved first, so that the one question names every edit that
// closing would lose. The pages an answer left behind their files show them
// first: the window may stay after all (going back, or no other game folder
// chosen with Ctrl+O).
bool MayClose(PageTable& pages)
{
    QStringList unsaved;
    std::vector<PageSlot*> behindTheirFiles;
    for (PageSlot& page : pages) {
        const EditFate fate = SettlePendingEdit(page, true);
        if (fate == EditFate::Kept) {
            ShowFilesAgain(behindTheirFiles);
            return false;
        }
        if (fate == EditFate::Unsaved)
            unsaved << page.caption;
        if (LeavesPageBehindItsFile(fate))
            behindTheirFiles.push_back(&page);
    }
    ShowFilesAgain(behindTheirFiles);
    return unsaved.isEmpty()
           || AskToGoOn(unsaved,
                        QStringLiteral("Close anyway and lose them, or go back to the window?"),
                        QStringLiteral("Close Anyway"));
}
