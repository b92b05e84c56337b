#include "FolderOfLastTime.h"

#include "Exceptions.h"
#include "ExistingFile.h"
#include "FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <iostream>

namespace {

// A path is far shorter; a longer file is no file of this program.
constexpr qint64 LongestFileRead = 1 << 16;

QString KeepingFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/tavrik-control-centre");
}

QString KeepingFile()
{
    return KeepingFolder() + QStringLiteral("/game-folder");
}

} // namespace

std::optional<QString> FolderOfLastTime()
{
    QFile file(KeepingFile());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray path = file.read(LongestFileRead);
    if (!path.endsWith('\n') || !path.startsWith('/'))
        return std::nullopt;
    path.chop(1);
    return QFile::decodeName(path);
}

void KeepFolderOfLastTime(const QString& folder)
{
    try {
        if (!QDir().mkpath(KeepingFolder()))
            throw Exception(QStringLiteral("its folder cannot be made"));
        const QByteArray path = QFile::encodeName(KeepingFile());
        const QByteArray content = QFile::encodeName(folder) + '\n';
        const ExistingFile existing = InspectTarget(path);
        if (!HoldsContent(existing, content))
            ReplaceFileContent(path, existing, content);
    } catch (const Exception& failure) {
        std::cerr << "tavrik-control-centre: the game folder is not kept for the next start in "
                  << QFile::encodeName(KeepingFile()).constData() << ": "
                  << failure.what() << "\n";
    }
}
