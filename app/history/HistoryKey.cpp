#include "HistoryKey.h"

#include <QDir>

// The current folder comes from the system with its links resolved, so a
// game reached through a link to a second Steam library has one history.
HistoryKey HistoryKeyOf(const QString& path)
{
    const QDir game = QDir::current();
    return {game.absolutePath(), QDir::cleanPath(game.relativeFilePath(path))};
}
