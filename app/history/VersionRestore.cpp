#include "VersionRestore.h"

#include "ApplicationTitle.h"
#include "Bytes.h"
#include "Failures.h"
#include "FileRecordObserver.h"
#include "LineFile.h"
#include "MessageSeam.h"
#include "PendingEdits.h"
#include "SaveFailures.h"
#include "VersionRows.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The page holds the file as it was when it read or saved it; anything else
// on disk is a change the user has not seen, which the restore would replace.
bool MayReplaceWhatIsOnDisk(const PageSlot& page, const QString& path,
                            const std::optional<QByteArray>& onDisk, const QDateTime& madeAt)
{
    if (onDisk == page.guard->HeldContentOf(path))
        return true;
    return ActiveMessageSeam().QuestionBox(
        ApplicationTitle(),
        path + QStringLiteral(" was changed by another program after the page read it. Restore "
                              "the version of ")
            + ExactTime(madeAt)
            + QStringLiteral(" over that change? The change stays in the file's history."),
        QStringLiteral("Restore"), QStringLiteral("Cancel"));
}

// A personality's folder goes with its file; restoring brings both back.
void MakeMissingFolder(const QString& path)
{
    const QString folder = QFileInfo(path).path();
    if (!QFileInfo(folder).isDir())
        MakeFolder(folder);
}

// False when another program changed the file in the meantime, and nothing
// was written over it.
bool Write(const QString& path, const QByteArray& content, const std::optional<QByteArray>& onDisk)
{
    const WritingFor restoring(WriteCause::Restore);
    try {
        MakeMissingFolder(path);
        LineFile file = CreateForWriting(path);
        WritePlainText(file, BytesToText(content));
        return CloseLineFileOver(file, onDisk) != CloseOutcome::ChangedElsewhere;
    } catch (const EWriteRefused& refusal) {
        throw Exception(path + QStringLiteral(" was not restored: ") + refusal.Reason());
    }
}

} // namespace

void RestoreVersion(PageTable& pages, PageSlot& page, const QString& path,
                    const QByteArray& content, const QDateTime& madeAt)
{
    if (!MayReplacePages(pages, {page.tab}))
        return;
    const std::optional<QByteArray> onDisk = ContentOnDisk(path);
    if (onDisk == content) {
        ShowNotice(path + QStringLiteral(" already holds the version of ") + ExactTime(madeAt)
                   + QStringLiteral("."));
        return;
    }
    if (!MayReplaceWhatIsOnDisk(page, path, onDisk, madeAt))
        return;
    page.guard->DropEdit();
    const bool written = Write(path, content, onDisk);
    page.reload();
    if (!written)
        throw Exception(path + QStringLiteral(" was not restored: another program changed it just "
                                              "now. The page shows it as it now is"));
}
