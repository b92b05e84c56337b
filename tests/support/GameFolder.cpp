#include "GameFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace {

// Plain writes: QFile::copy syncs every file to the disk, which made each
// test's copy of the sample folder take a noticeable part of a second.
void CopyTree(const QString& from, const QString& to)
{
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        WriteBytes(to + QLatin1Char('/') + QDir(from).relativeFilePath(source), ReadBytes(source));
    }
}

} // namespace

ScratchGameFolder::ScratchGameFolder() : previousDirectory_(QDir::currentPath())
{
    if (!folder_.isValid() || !QDir::setCurrent(folder_.path()))
        throw std::runtime_error("cannot enter a scratch folder");
}

std::unique_ptr<ScratchGameFolder> ScratchGameFolder::WithSampleMods()
{
    auto folder = std::make_unique<ScratchGameFolder>();
    CopyTree(QStringLiteral(TAVRIK_SOURCE_DIR "/examples/game"), folder->Path());
    return folder;
}

ScratchGameFolder::~ScratchGameFolder()
{
    QDir::setCurrent(previousDirectory_);
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray CrLfLines(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}
