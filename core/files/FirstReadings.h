#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>

#include <optional>

// What a file held the first time this run read it, kept until the program
// ends, so that a file the editor saved by itself can be put back as it was.
// Paths are taken as the pages name them; the record tells them apart by
// their absolute form, as the current folder they are relative to may change.
struct FirstReading {
    std::optional<QByteArray> content; // none: the file did not exist
    QTime readAt;
    std::optional<QByteArray> lastWritten; // none: this run has not written it since, or removed it
};

// A file was read completely; only its first reading is kept.
void NoteReading(const QString& path, const QByteArray& content);
// A save is about to replace or create the file at path. A missing file that
// this run never read is first read as "did not exist", so that the record
// predates this run's first write. A page writes no other file it has not
// read; one written otherwise is left without a record, since reading it
// here would add to every save. Never raises.
void NoteWriting(const QString& path);
// The save of path completed with these bytes.
void NoteWritten(const QString& path, const QByteArray& content);
std::optional<FirstReading> FirstReadingOf(const QString& path);

// Puts the file at path back as this run first read it: writes those bytes
// through the careful save, or removes a file this run created, and then the
// folder this run made for it when nothing else is in it. Only a file that
// holds exactly the bytes this run last wrote into it is put back: false, and
// nothing done, for any other, since another program changed it since.
bool PutBackFirstReading(const QString& path);

// This run created the folder at path.
void NoteFolderMade(const QString& path);
// Whether this run created the folder at path and has not removed it since.
bool FolderWasMadeByThisRun(const QString& path);
void NoteFolderRemoved(const QString& path);
