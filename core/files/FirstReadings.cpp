#include "FirstReadings.h"

#include "Bytes.h"
#include "Exceptions.h"
#include "FileRecordObserver.h"
#include "LineFile.h"

#include <QDir>
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

class FirstReadingsRecord final : public FileRecordObserver {
public:
    FirstReadingsRecord() { RegisterFileRecord(*this); }

    void ReadCompletely(const QString& path, const QByteArray& content) override
    {
        const QString key = KeyOf(path);
        if (!Readings().contains(key))
            Record(key, content);
    }

    // A missing file that this run never read is first read as "did not
    // exist", so that the record predates this run's first write. A page
    // writes no other file it has not read; one written otherwise is left
    // without a record, since reading it here would add to every save.
    void AboutToWrite(const QString& path) override
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

    void Written(const QString& path, const QByteArray& content, WriteCause) override
    {
        const auto reading = Readings().find(KeyOf(path));
        if (reading != Readings().end())
            reading->lastWritten = content;
    }

    // Put back records its own removals.
    void Removed(const QString&, WriteCause) override {}

    void FolderMade(const QString& path) override { FoldersMade().insert(KeyOf(path)); }
};

// Registers the record while the program starts, before main can read or
// write a file. The static library leaves this file out only of a program
// that names nothing defined here; asking the record anything names
// FirstReadingOf or PutBackFirstReading, so every program that asks it has
// recorded every reading and write from the start.
FirstReadingsRecord record;

} // namespace

std::optional<FirstReading> FirstReadingOf(const QString& path)
{
    const auto reading = Readings().constFind(KeyOf(path));
    if (reading == Readings().constEnd())
        return std::nullopt;
    return *reading;
}

bool PutBackFirstReading(const QString& path)
{
    const std::optional<FirstReading> first = FirstReadingOf(path);
    if (!first || !first->lastWritten || ContentOnDisk(path) != first->lastWritten)
        return false;
    const WritingFor puttingBack(WriteCause::PutBack);
    if (first->content) {
        LineFile file = CreateForWriting(path);
        WritePlainText(file, BytesToText(*first->content));
        CloseLineFile(file);
        return true;
    }
    RemoveFile(path);
    Readings()[KeyOf(path)].lastWritten.reset();
    // A folder this run made, and has not removed since, goes with its file.
    const QString folder = QFileInfo(path).path();
    if (FoldersMade().contains(KeyOf(folder)) && RemoveFolderIfEmpty(folder))
        FoldersMade().remove(KeyOf(folder));
    return true;
}

std::optional<QString> FolderRemovedWith(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = file.path();
    const auto everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    if (!FoldersMade().contains(KeyOf(folder))
        || QDir(folder).entryList(everything) != QStringList(file.fileName()))
        return std::nullopt;
    return folder;
}
