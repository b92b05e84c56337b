#pragma once

#include <QByteArray>
#include <QString>

// What the file layer tells the record of first readings (FirstReadings.h):
// every complete reading, every write just before and after it happens, every
// folder it makes. The record registers itself, so that the layer calls
// nothing of it.
class FileRecordObserver {
public:
    virtual void ReadCompletely(const QString& path, const QByteArray& content) = 0;
    // Never raises: the save goes ahead whatever the record makes of it.
    virtual void AboutToWrite(const QString& path) = 0;
    virtual void Written(const QString& path, const QByteArray& content) = 0;
    virtual void FolderMade(const QString& path) = 0;

protected:
    ~FileRecordObserver() = default;
};

// From now on the file layer tells record what it does.
void RegisterFileRecord(FileRecordObserver& record);
// The record registered; one that keeps nothing when none is.
FileRecordObserver& FileRecord();
