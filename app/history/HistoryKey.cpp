#include "HistoryKey.h"

#include <QDir>

// The current folder comes from the system with its links resolved, so a
// game reached through a link to a second Steam library has one history.
// The pages name their files relative to it, the common case kept cheap:
// every reading and write of a file asks.
HistoryKey HistoryKeyOf(const QString& path)
{
    const QString game = QDir::currentPath();
    if (QDir::isRelativePath(path))
        return {game, QDir::cleanPath(path)};
    return {game, QDir::cleanPath(QDir(game).relativeFilePath(path))};
}
