#pragma once

#include <QString>

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
    // The page now holds the complete content of this file.
    void Holds(const QString& path);
    // Whether a save may write this file. A missing file may always be
    // written. A refusal raises an Exception naming the file the first time;
    // further refusals of the same file return false without a box until the
    // next load begins.
    bool MayWrite(const QString& path);

private:
    QString RefusalReason(const QString& path) const;

    QString heldPath_;
    QString unreadPath_;
    QString reportedPath_;
};
