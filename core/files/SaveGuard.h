#pragma once

#include <QString>

#include <functional>

// Keeps a page from writing over a file whose content it does not hold. A page
// holds a file after a complete load of it, after creating it, and after
// saving to it. Once a load has begun, the page holds no file until that load
// completes: a load that stops part-way leaves a mixture of two files on the
// page, and writing that mixture would destroy the rest of the file.
class SaveGuard {
public:
    // A load of this file begins; a failure before Holds leaves the page
    // holding nothing.
    void LoadBegins(const QString& path);
    // A load of this file begins with controls that are not read from it (the
    // bot.cfg page's roster, read from the personalities). Should it stop
    // there, the rest of the page still shows another file's values, so not
    // even a missing file may be created until a load of it completes.
    void LoadBeginsBeforeTheFile(const QString& path);
    // The page now holds the complete content of this file.
    void Holds(const QString& path);
    // Whether a save may write this file. A missing file may be created unless
    // the page shows another file's content. A refusal raises an Exception
    // naming the file the first time; further refusals of the same file
    // return false without a box until the next load begins.
    bool MayWrite(const QString& path);

    // Told the refusal's message when the guard starts refusing a file, and
    // an empty text once the page holds a file again, so that the refusal
    // stays visible after its one box.
    std::function<void(const QString& refusal)> OnRefusalChange;

private:
    bool MayCreate(const QString& path) const;
    QString RefusalReason(const QString& path) const;
    void SetRefusal(const QString& refusal);

    QString heldPath_;
    QString unreadPath_;
    QString reportedPath_;
    QString refusal_;
    bool showsOtherValues_ = false;
};
