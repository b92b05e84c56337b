#pragma once

#include "LineEnds.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class Exception;
class LineFile;

// What a page's save did.
enum class SaveOutcome {
    Saved,          // the file now holds what the page shows
    Refused,        // nothing written; the first refusal of a file raises instead
    ChangedOnDisk,  // someone else changed the file and the page had no edit to keep: show the file
    Conflict,       // someone else changed the file under an edit of the user's: nothing written, the user chooses
    NothingPending, // asked to save only an edit of the user's, and there was none
};

// Whether a save writes whatever the page shows, as its triggers do, or only
// an edit of the user's that would otherwise be lost.
enum class SaveWhen { Always, OnlyPending };

// Keeps a page from writing over a file whose content it does not hold. A page
// holds a file after a complete load of it, after creating it, and after
// saving to it. Once a load has begun, the page holds no file until that load
// completes: a load that stops part-way leaves a mixture of two files on the
// page, and writing that mixture would destroy the rest of the file.
//
// It also remembers the bytes the page last read or wrote of the file it
// holds. Another program (or a second copy of this one) may have changed the
// file since; a save then writes nothing, so that the other change survives:
// the page shows the file as it now is, or, when the user has an edit on the
// page that would be lost that way, the user chooses between the two.
class SaveGuard {
public:
    // A load of this file begins; a failure before Holds leaves the page
    // holding nothing. An edit of the user's stays pending until the load
    // completes: a load that fails before it replaced a control leaves it
    // on the page.
    void LoadBegins(const QString& path);
    // A load of this file begins with controls that are not read from it (the
    // bot.cfg page's roster, read from the personalities). Should it stop
    // there, the rest of the page still shows another file's values, so not
    // even a missing file may be created until a load of it completes.
    void LoadBeginsBeforeTheFile(const QString& path);
    // The load begun stopped part-way, at the place given ("line 4, ...";
    // empty: before a line was read). The refusal that the page's saves
    // meet from now on is signed at once; its one box still comes with the
    // first save of an edit, and names that place. Nothing stopped once the
    // page holds the file (a missing one it shows as missing).
    void LoadStopped(const QString& where);
    // The page now holds the complete content of this file, which holds
    // these bytes (none: the file is missing).
    void Holds(const QString& path, const std::optional<QByteArray>& content);
    // Whether a save may write this file. A missing file may be created unless
    // the page shows another file's content. A refusal raises an Exception
    // naming the file the first time; further refusals of the same file
    // return false without a box until the next load begins.
    bool MayWrite(const QString& path);

    // The line ends a save writes: those of the file as the page read it,
    // kept through saves that leave no line end in it; CR LF for a missing
    // file and one the page has not read.
    LineEnds LineEndsToWrite() const { return lineEnds_; }

    // The user changed a control of the page. The page holds an edit while
    // its form differs from the one it had when it last held its file: an
    // edit undone, or a value the page shows in its own form, is none.
    void UserEdited();
    bool HasUserEdits() const { return userEdited_; }
    // The user gives the edit up for the file as it is on disk.
    void DropEdit() { SetUserEdited(false); }

    // The answers to a save's Conflict. Keeping the edit lets the next save
    // write over the bytes the conflicting save met there, no others.
    void KeepEditOverChange();
    // Deciding later leaves the edit pending and the file as it is; saves
    // then write nothing and return Refused, and the refusal is signed,
    // until AskAgain or until the page holds a file anew.
    void DecideLater(const QString& path);
    void AskAgain() { decidesLater_ = false; }
    // The file a save of an edit the user made goes to: the one the page
    // holds, else the one its last load began on; empty when there is none.
    QString SaveTarget() const;

    // What a save of path changes the user's edit into: the bytes the page
    // holds of that file (none: missing, or not the file the page holds),
    // and the page's form when it last held it (none: it never has).
    std::optional<QByteArray> HeldContentOf(const QString& path) const;
    const std::optional<QByteArray>& FormWhenHeld() const { return formWhenHeld_; }
    // Whether the bytes held are another program's, which the user kept an
    // edit over: only then do they differ from those the form was made of.
    bool KeepsEditOverChange() const { return keepsEditOverChange_; }

    // Without an edit of the user's a save writes nothing: it only looks
    // whether another program changed the file the page holds, so that the
    // page can show the change (ChangedOnDisk). Saved when the file is as
    // the page holds it; NothingPending for OnlyPending, and for a file the
    // page does not hold.
    SaveOutcome LookWithoutEdit(const QString& path, SaveWhen when);

    // Ends a save that MayWrite allowed and that has written the page's
    // content into file, opened for path. With SaveWhen::OnlyPending it
    // writes nothing unless the user has changed the page and its content
    // differs from what it last read or wrote. A file that someone else has
    // changed since is not written (the one reading the save makes of it is
    // compared, and the file checked again right before the write): the page
    // shows the file, or, under an edit of the user's, the user chooses
    // (Conflict). A save that would write but may not (a read-only file or
    // folder, a content larger than a load reads back) raises like MayWrite's
    // refusal when it would lose an edit of the user's, and is left undone
    // without a box when it would not.
    SaveOutcome FinishSave(LineFile& file, const QString& path, SaveWhen when);

    // Told the refusal's message when the guard starts refusing a file, and
    // an empty text once the page holds a file again, so that the refusal
    // stays visible after its one box.
    std::function<void(const QString& refusal)> OnRefusalChange;
    // Told when HasUserEdits changes, so that the page can show whether it
    // holds an edit not saved yet.
    std::function<void()> OnUserEditsChange;
    // Told each time the page comes to hold a file: a load completed, a save
    // written; so that what follows the page's file can follow it.
    std::function<void()> OnHeld;
    // The page's own form of what it shows, which tells the user's edits
    // apart; unset, every change of the user's counts as an edit.
    std::function<QByteArray()> PageForm;

private:
    bool MayCreate(const QString& path) const;
    QString RefusalReason(const QString& path) const;
    void SetRefusal(const QString& refusal);
    void SetUserEdited(bool edited);
    bool Refuse(const QString& path, const QString& reason);
    bool RefuseWith(const QString& path, const QString& refusal);
    bool IsPending(const QByteArray& pageContent) const;
    SaveOutcome MeetChangeOnDisk(const std::optional<QByteArray>& onDisk,
                                 const QByteArray& pageContent);

    QString heldPath_;
    std::optional<QByteArray> heldContent_;
    QString unreadPath_;
    QString stoppedAt_;
    QString reportedPath_;
    QString refusal_;
    bool showsOtherValues_ = false;
    bool userEdited_ = false;
    bool decidesLater_ = false;
    bool keepsEditOverChange_ = false;
    std::optional<QByteArray> conflictingContent_;
    std::optional<QByteArray> formWhenHeld_;
    LineEnds lineEnds_ = LineEnds::CrLf;
};

// A page's reading of path, whose load has begun: read puts the file into
// the page and gives the bytes it read (none: the file is missing), which the
// page then holds. A reading that stops part-way is signed on the page at
// once, at the place where gives for the failure (unset: none known), and the
// failure goes on to its box.
void ReadThroughGuard(SaveGuard& guard, const QString& path,
                      const std::function<std::optional<QByteArray>()>& read,
                      const std::function<QString(const Exception& failure)>& where = {});

// A page's save of path. Without an edit of the user's nothing is written
// (LookWithoutEdit). Otherwise: Refused, and nothing written, when the
// guard's MayWrite refuses it; else write puts the page's content into the
// file, opened with the guard's line ends, and FinishSave ends the save. A
// failure names the file (ForFile).
SaveOutcome SaveThroughGuard(SaveGuard& guard, const QString& path, SaveWhen when,
                             const std::function<void(LineFile& file)>& write);
