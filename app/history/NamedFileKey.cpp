#include "NamedFileKey.h"

#include "ModFolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The current folder as the shell that started the program names it: in a
// mod folder reached through a link, the game folder is the one above the
// link, where the window started there keeps its history, not the one above
// the folder it leads to.
QDir CurrentFolderAsNamed()
{
    const QString named = qEnvironmentVariable("PWD");
    if (QDir::isAbsolutePath(named)
        && QFileInfo(named).canonicalFilePath() == QDir::current().canonicalPath())
        return QDir(named);
    return QDir::current();
}

} // namespace

// "./", "//" and ".." are taken away as written before the mod folder is
// looked for; only the game folder is resolved, since a link inside it (a
// mod folder shared by two games) is part of the file's place there. The
// game folder may be gone: its history stays under the name it had.
HistoryKey HistoryKeyOfNamedFile(const QString& path)
{
    const QStringList parts = QDir::cleanPath(CurrentFolderAsNamed().absoluteFilePath(path)).split(QLatin1Char('/'));
    for (qsizetype part = parts.size() - 2; part > 0; --part) {
        if (ModIndexOfFolder(parts.at(part)) < 0)
            continue;
        const QString above = part == 1 ? QStringLiteral("/") : parts.mid(0, part).join(QLatin1Char('/'));
        const QString resolved = QFileInfo(above).canonicalFilePath();
        return {resolved.isEmpty() ? above : resolved, parts.mid(part).join(QLatin1Char('/'))};
    }
    return HistoryKeyOf(path);
}
