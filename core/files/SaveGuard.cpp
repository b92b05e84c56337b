#include "SaveGuard.h"

#include "Exceptions.h"
#include "LineFile.h"

void SaveGuard::LoadBegins(const QString& path)
{
    heldPath_.clear();
    unreadPath_ = path;
    reportedPath_.clear();
    showsOtherValues_ = false;
}

void SaveGuard::LoadBeginsBeforeTheFile(const QString& path)
{
    LoadBegins(path);
    showsOtherValues_ = true;
}

void SaveGuard::Holds(const QString& path)
{
    heldPath_ = path;
    unreadPath_.clear();
    reportedPath_.clear();
    SetRefusal(QString());
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

bool SaveGuard::MayWrite(const QString& path)
{
    if (path == heldPath_ || (MayCreate(path) && !FileIsPresent(path)))
        return true;
    if (path == reportedPath_)
        return false;
    reportedPath_ = path;
    SetRefusal(path + QStringLiteral(" was not saved: ") + RefusalReason(path)
               + QStringLiteral(". Press F5 to load it from disk; saves go ahead once it has "
                                "loaded completely"));
    throw Exception(refusal_);
}
