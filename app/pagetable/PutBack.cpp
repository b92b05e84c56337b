#include "PutBack.h"

#include "ApplicationTitle.h"
#include "Exceptions.h"
#include "Failures.h"
#include "FirstReadings.h"
#include "LineFile.h"
#include "MessageSeam.h"

// Ctrl+Shift+R takes back what this editor saved into the shown page's file:
// the file gets the bytes it held when this run first read it, or goes away
// when this run created it. A change another program made is never put back,
// and the page's own edit is not saved first: it is what the user takes back.

namespace {

QString TimeOf(const FirstReading& first)
{
    return first.readAt.toString(QStringLiteral("HH:mm"));
}

// The question names what the answer does: the bytes come back, or the
// file this run created goes, with the folder made for it.
bool AskToPutBack(const QString& path, const FirstReading& first, bool removes)
{
    if (!removes)
        return ActiveMessageSeam().ConfirmBox(
            ApplicationTitle(),
            QStringLiteral("Put ") + path + QStringLiteral(" back as it was at ") + TimeOf(first)
                + QStringLiteral("?"),
            QStringLiteral("Put Back"), QStringLiteral("Cancel"));
    const std::optional<QString> folder = FolderRemovedWith(path);
    return ActiveMessageSeam().ConfirmBox(
        ApplicationTitle(),
        QStringLiteral("Remove ") + path
            + (folder ? QStringLiteral(" and its folder ") + *folder : QString())
            + QStringLiteral(", which this editor created at ") + TimeOf(first)
            + QStringLiteral("?"),
        QStringLiteral("Remove"), QStringLiteral("Cancel"));
}

// A notice says why the key has nothing to put back; false when it has.
bool TellWhyNothingIsPutBack(const PageSlot& page, const QString& path,
                             const std::optional<FirstReading>& first, bool asFirstRead)
{
    if (asFirstRead && !page.guard->HasUserEdits()) {
        ShowNotice(path + QStringLiteral(" is as it was at ") + TimeOf(*first)
                   + QStringLiteral("; there is nothing to put back."));
        return true;
    }
    if (!asFirstRead && !(first && first->lastWritten)) {
        ShowNotice(QStringLiteral("This editor has not changed ") + path
                   + QStringLiteral("; what other programs change is not put back."));
        return true;
    }
    if (!asFirstRead && !first->content && page.whyCreatedFileStays) {
        const QString reason = page.whyCreatedFileStays();
        if (!reason.isEmpty()) {
            ShowNotice(path + QStringLiteral(" did not exist at ") + TimeOf(*first)
                       + QStringLiteral(", but ") + reason + QStringLiteral(", so it stays."));
            return true;
        }
    }
    return false;
}

void ShowPageAfterPutBack(PageSlot& page, const QString& path, bool removed)
{
    if (removed && page.showAfterRemoval)
        page.showAfterRemoval(path);
    else
        page.reload();
}

} // namespace

void PutBack(PageSlot& page, const QString& path)
{
    const std::optional<FirstReading> first = FirstReadingOf(path);
    const bool asFirstRead = first && ContentOnDisk(path) == first->content;
    if (TellWhyNothingIsPutBack(page, path, first, asFirstRead)
        || !AskToPutBack(path, *first, !asFirstRead && !first->content))
        return;
    page.guard->DropEdit();
    // Only the user's edit differs from the file: dropping it is all there is.
    if (asFirstRead) {
        page.reload();
        return;
    }
    if (!PutBackFirstReading(path)) {
        page.reload();
        throw Exception(path
                        + QStringLiteral(" was not put back: another program changed it after "
                                         "this editor saved it. The page shows it as it now is"));
    }
    ShowPageAfterPutBack(page, path, !first->content);
}
