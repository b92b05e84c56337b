#include "HistoryPath.h"

#include <QDir>

QString DefaultHistoryPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative value is invalid by the XDG rules and ignored.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/tavrik-control-centre/history.sqlite");
}
