#include "SaveGuard.h"

#include "Exceptions.h"
#include "LineFile.h"

void SaveGuard::LoadBegins(const QString& path)
{
    heldPath_.clear();
    unreadPath_ = path;
    reportedPath_.clear();
}

void SaveGuard::Holds(const QString& path)
{
    heldPath_ = path;
    unreadPath_.clear();
    reportedPath_.clear();
}

QString SaveGuard::RefusalReason(const QString& path) const
{
    if (path == unreadPath_)
        return QStringLiteral("it could not be read completely");
    if (heldPath_.isEmpty() && unreadPath_.isEmpty())
        return QStringLiteral("the page has not shown it yet");
    return QStringLiteral("the page shows another file's content");
}

bool SaveGuard::MayWrite(const QString& path)
{
    if (path == heldPath_ || !FileIsPresent(path))
        return true;
    if (path == reportedPath_)
        return false;
    reportedPath_ = path;
    throw Exception(path + QStringLiteral(" was not saved: ") + RefusalReason(path));
}
