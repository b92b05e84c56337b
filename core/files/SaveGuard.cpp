#include "SaveGuard.h"

#include "Exceptions.h"
#include "LineFile.h"
#include "SaveFailures.h"
#include "SaveSteps.h"

namespace {

QString RefusalOf(const QString& path, const QString& reason)
{
    return path + QStringLiteral(" was not saved: ") + reason
           + QStringLiteral(". Press F5 to load it from disk; saves go ahead once it has loaded "
                            "completely");
}

} // namespace

void SaveGuard::LoadBegins(const QString& path)
{
    heldPath_.clear();
    heldContent_.reset();
    formWhenHeld_.reset();
    unreadPath_ = path;
    stoppedAt_.clear();
    reportedPath_.clear();
    showsOtherValues_ = false;
    decidesLater_ = false;
    keepsEditOverChange_ = false;
    lineEnds_ = LineEnds::CrLf;
}

void SaveGuard::LoadBeginsBeforeTheFile(const QString& path)
{
    LoadBegins(path);
    showsOtherValues_ = true;
}

void SaveGuard::LoadStopped(const QString& where)
{
    if (unreadPath_.isEmpty())
        return;
    stoppedAt_ = where;
    SetRefusal(RefusalOf(unreadPath_, RefusalReason(unreadPath_)));
}

void SaveGuard::Holds(const QString& path, const std::optional<QByteArray>& content)
{
    heldPath_ = path;
    heldContent_ = content;
    lineEnds_ = content ? LineEndsOf(*content).value_or(lineEnds_) : LineEnds::CrLf;
    {
        const TimedSaveStep step(SaveStep::PageForm);
        formWhenHeld_ = PageForm ? std::optional<QByteArray>(PageForm()) : std::nullopt;
    }
    unreadPath_.clear();
    reportedPath_.clear();
    SetUserEdited(false);
    decidesLater_ = false;
    keepsEditOverChange_ = false;
    SetRefusal(QString());
    if (OnHeld)
        OnHeld();
}

QString SaveGuard::SaveTarget() const
{
    return heldPath_.isEmpty() ? unreadPath_ : heldPath_;
}

std::optional<QByteArray> SaveGuard::HeldContentOf(const QString& path) const
{
    return path == heldPath_ ? heldContent_ : std::nullopt;
}

void SaveGuard::UserEdited()
{
    SetUserEdited(!PageForm || !formWhenHeld_ || PageForm() != *formWhenHeld_);
}

SaveOutcome SaveGuard::LookWithoutEdit(const QString& path, SaveWhen when)
{
    if (when == SaveWhen::OnlyPending || path != heldPath_)
        return SaveOutcome::NothingPending;
    if (ContentOnDisk(path) != heldContent_)
        return SaveOutcome::ChangedOnDisk;
    return SaveOutcome::Saved;
}

// A missing file holds nothing to lose, but filling it from another file's
// content (the last mod's settings after a mod change that stopped early)
// would put wrong data into it.
bool SaveGuard::MayCreate(const QString& path) const
{
    if (!heldPath_.isEmpty())
        return heldPath_ == path;
    if (showsOtherValues_)
        return false;
    return unreadPath_.isEmpty() || unreadPath_ == path;
}

QString SaveGuard::RefusalReason(const QString& path) const
{
    if (path == unreadPath_ && showsOtherValues_)
        return QStringLiteral("a personality of its roster could not be read");
    if (path == unreadPath_ && !stoppedAt_.isEmpty())
        return QStringLiteral("it could not be read completely, stopping at ") + stoppedAt_;
    if (path == unreadPath_)
        return QStringLiteral("it could not be read completely");
    if (heldPath_.isEmpty() && unreadPath_.isEmpty())
        return QStringLiteral("the page has not shown it yet");
    return QStringLiteral("the page shows another file's content");
}

void SaveGuard::SetRefusal(const QString& refusal)
{
    if (refusal == refusal_)
        return;
    refusal_ = refusal;
    if (OnRefusalChange)
        OnRefusalChange(refusal_);
}

void SaveGuard::SetUserEdited(bool edited)
{
    if (edited == userEdited_)
        return;
    userEdited_ = edited;
    if (OnUserEditsChange)
        OnUserEditsChange();
}

bool SaveGuard::Refuse(const QString& path, const QString& reason)
{
    return RefuseWith(path, RefusalOf(path, reason));
}

bool SaveGuard::RefuseWith(const QString& path, const QString& refusal)
{
    if (path == reportedPath_)
        return false;
    reportedPath_ = path;
    SetRefusal(refusal);
    throw Exception(refusal_);
}

bool SaveGuard::MayWrite(const QString& path)
{
    if (path == heldPath_)
        return true;
    if (!MayCreate(path))
        return Refuse(path, RefusalReason(path));
    try {
        if (!AnythingIsAt(path))
            return true;
    } catch (const EInOutError& failure) {
        // What cannot be examined may well be a file: it is refused like one
        // the page could not read, with one box and the tab's sign, instead
        // of a box at every trigger.
        return Refuse(path, QStringLiteral("it could not be examined (") + failure.Message()
                                + QStringLiteral(")"));
    }
    return Refuse(path, RefusalReason(path));
}

// An edit whose save leaves the file's bytes as they are (the change is in
// the file already) has nothing left to write.
bool SaveGuard::IsPending(const QByteArray& pageContent) const
{
    return userEdited_ && heldContent_ != pageContent;
}

// The lines the edit adds take the line ends of the file as it now is.
void SaveGuard::KeepEditOverChange()
{
    heldContent_ = conflictingContent_;
    keepsEditOverChange_ = true;
    if (heldContent_)
        lineEnds_ = LineEndsOf(*heldContent_).value_or(lineEnds_);
}

void SaveGuard::DecideLater(const QString& path)
{
    decidesLater_ = true;
    SetRefusal(path
               + QStringLiteral(" was not saved: another program changed it after the page read "
                                "it. Your edit stays on the page; you are asked again before the "
                                "page shows another file or the window closes, and F5 loads the "
                                "file as it now is"));
}

// Asked once: until the user answers again, saves write nothing quietly.
SaveOutcome SaveGuard::MeetChangeOnDisk(const std::optional<QByteArray>& onDisk,
                                        const QByteArray& pageContent)
{
    if (!IsPending(pageContent))
        return SaveOutcome::ChangedOnDisk;
    if (decidesLater_)
        return SaveOutcome::Refused;
    conflictingContent_ = onDisk;
    return SaveOutcome::Conflict;
}

SaveOutcome SaveGuard::FinishSave(LineFile& file, const QString& path, SaveWhen when)
{
    const QByteArray content = ContentOf(file);
    if (when == SaveWhen::OnlyPending && !IsPending(content)) {
        SetUserEdited(false);
        return SaveOutcome::NothingPending;
    }
    // A file the page does not hold is written only where none is yet.
    const std::optional<QByteArray> expected = path == heldPath_ ? heldContent_ : std::nullopt;
    CloseOutcome closed = CloseOutcome::ChangedElsewhere;
    try {
        closed = CloseLineFileOver(file, expected);
    } catch (const EWriteRefused& refusal) {
        // Only an edit of the user's is lost by it, and only that is told.
        if (IsPending(content))
            RefuseWith(path, path + QStringLiteral(" was not saved: ") + refusal.Reason());
        return SaveOutcome::Refused;
    }
    // The bytes met there are read again only in this rare case: they are
    // what keeping the edit may then write over, and nothing else.
    if (closed == CloseOutcome::ChangedElsewhere)
        return MeetChangeOnDisk(ContentOnDisk(path), content);
    Holds(path, content);
    return SaveOutcome::Saved;
}

void ReadThroughGuard(SaveGuard& guard, const QString& path,
                      const std::function<std::optional<QByteArray>()>& read,
                      const std::function<QString(const Exception& failure)>& where)
{
    std::optional<QByteArray> content;
    try {
        content = read();
    } catch (const Exception& failure) {
        guard.LoadStopped(where ? where(failure) : QString());
        throw;
    }
    guard.Holds(path, content);
}

SaveOutcome SaveThroughGuard(SaveGuard& guard, const QString& path, SaveWhen when,
                             const std::function<void(LineFile& file)>& write)
{
    return ForFile(path, [&] {
        if (!guard.HasUserEdits())
            return guard.LookWithoutEdit(path, when);
        if (!guard.MayWrite(path))
            return SaveOutcome::Refused;
        LineFile file = CreateForWriting(path, guard.LineEndsToWrite());
        {
            const TimedSaveStep step(SaveStep::Merge);
            write(file);
        }
        return guard.FinishSave(file, path, when);
    });
}
