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

bool SaveGuard::MayWrite(const QString& path)
{
    if (path == heldPath_ || !FileIsPresent(path))
        return true;
    if (path == reportedPath_)
        return false;
    reportedPath_ = path;
    const QString reason = path == unreadPath_
                               ? QStringLiteral("it could not be read completely")
                               : QStringLiteral("the page shows another file's content");
    throw Exception(path + QStringLiteral(" was not saved: ") + reason);
}
