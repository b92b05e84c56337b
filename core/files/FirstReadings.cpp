#include "FirstReadings.h"

#include "Bytes.h"
#include "Exceptions.h"
#include "LineFile.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

QHash<QString, FirstReading>& Readings()
{
    static QHash<QString, FirstReading> readings;
    return readings;
}

QSet<QString>& FoldersMade()
{
    static QSet<QString> folders;
    return folders;
}

QString KeyOf(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

void Record(const QString& key, const std::optional<QByteArray>& content)
{
    Readings().insert(key, FirstReading{content, QTime::currentTime(), std::nullopt});
}

} // namespace

void NoteReading(const QString& path, const QByteArray& content)
{
    const QString key = KeyOf(path);
    if (!Readings().contains(key))
        Record(key, content);
}

void NoteWriting(const QString& path)
{
    const QString key = KeyOf(path);
    if (Readings().contains(key))
        return;
    try {
        if (!FileIsPresent(path))
            Record(key, std::nullopt);
    } catch (const Exception&) {
        // The save itself says what is wrong with the path.
    }
}

void NoteWritten(const QString& path, const QByteArray& content)
{
    const auto reading = Readings().find(KeyOf(path));
    if (reading != Readings().end())
        reading->lastWritten = content;
}

std::optional<FirstReading> FirstReadingOf(const QString& path)
{
    const auto reading = Readings().constFind(KeyOf(path));
    if (reading == Readings().constEnd())
        return std::nullopt;
    return *reading;
}

void NoteFolderMade(const QString& path)
{
    FoldersMade().insert(KeyOf(path));
}

bool FolderWasMadeByThisRun(const QString& path)
{
    return FoldersMade().contains(KeyOf(path));
}

void NoteFolderRemoved(const QString& path)
{
    FoldersMade().remove(KeyOf(path));
}

bool PutBackFirstReading(const QString& path)
{
    const std::optional<FirstReading> first = FirstReadingOf(path);
    if (!first || !first->lastWritten || ContentOnDisk(path) != first->lastWritten)
        return false;
    if (first->content) {
        LineFile file = CreateForWriting(path);
        WritePlainText(file, BytesToText(*first->content));
        CloseLineFile(file);
        return true;
    }
    RemoveFile(path);
    Readings()[KeyOf(path)].lastWritten.reset();
    const QString folder = QFileInfo(path).path();
    if (FolderWasMadeByThisRun(folder) && RemoveFolderIfEmpty(folder))
        NoteFolderRemoved(folder);
    return true;
}
