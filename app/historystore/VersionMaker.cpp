#include "VersionMaker.h"

#include "Exceptions.h"

QString DescriptionOf(VersionMaker maker)
{
    switch (maker) {
    case VersionMaker::FirstReading: return QStringLiteral("first reading of a run");
    case VersionMaker::SavedHere: return QStringLiteral("saved by this editor");
    case VersionMaker::ChangedElsewhere: return QStringLiteral("changed by another program");
    case VersionMaker::PutBack: return QStringLiteral("put back");
    case VersionMaker::Restored: return QStringLiteral("restored");
    case VersionMaker::Removed: return QStringLiteral("removed by this editor");
    }
    return QString();
}

VersionMaker MakerOfCode(int code)
{
    if (code < static_cast<int>(VersionMaker::FirstReading) || code > static_cast<int>(VersionMaker::Removed))
        throw Exception(QStringLiteral("The history holds a version of an unknown kind (%1)").arg(code));
    return static_cast<VersionMaker>(code);
}
