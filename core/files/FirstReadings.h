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

// The file layer tells the record of every complete reading and every save
// (FileRecordObserver.h): only a file's first reading is kept, and a save of
// a missing file this run never read first notes it as "did not exist".
std::optional<FirstReading> FirstReadingOf(const QString& path);

// Puts the file at path back as this run first read it: writes those bytes
// through the careful save, or removes a file this run created, and then the
// folder this run made for it when nothing else is in it. Only a file that
// holds exactly the bytes this run last wrote into it is put back: false, and
// nothing done, for any other, since another program changed it since.
bool PutBackFirstReading(const QString& path);
// The folder that goes with the file at path when PutBackFirstReading
// removes it: the one this run made for it, while nothing else is in it;
// none when the folder stays.
std::optional<QString> FolderRemovedWith(const QString& path);
