#include "ScratchFolder.h"

#include "FuzzCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <deque>
#include <string>

namespace {

QString ScratchParent()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    return memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
}

void MakePathArgumentsAbsolute(int argumentCount, char** arguments)
{
    static std::deque<std::string> absolutePaths;
    for (int index = 1; index < argumentCount; ++index) {
        if (arguments[index][0] == '-')
            continue;
        const QFileInfo path(QString::fromLocal8Bit(arguments[index]));
        absolutePaths.push_back(path.absoluteFilePath().toLocal8Bit().toStdString());
        arguments[index] = absolutePaths.back().data();
    }
}

} // namespace

void EnterScratchFolder(int& argumentCount, char**& arguments)
{
    MakePathArgumentsAbsolute(argumentCount, arguments);
    static QTemporaryDir folder(ScratchParent() + QStringLiteral("/tavrik-fuzz-XXXXXX"));
    Require(folder.isValid() && QDir::setCurrent(folder.path()), "a scratch folder can be entered",
            folder.errorString());
}

void PutFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                         && file.write(bytes) == bytes.size();
    Require(written, "the input file can be put in place", path + QStringLiteral(": ") + file.errorString());
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly), "a file that was saved can be read", path);
    return file.readAll();
}
