#pragma once

#include <QByteArray>
#include <QString>

// Why the file layer writes or removes a file: a page's save, unless the
// code that puts a file back or restores a version says so for its writes.
enum class WriteCause { Save, PutBack, Restore };

// What the file layer tells the records of what it does (the first readings
// of FirstReadings.h, the history): every complete reading, every write just
// before and after it happens, every removal, every folder it makes. A record
// registers itself, so that the layer calls nothing of it.
class FileRecordObserver {
public:
    virtual void ReadCompletely(const QString& path, const QByteArray& content) = 0;
    // None of the three raises: the save goes ahead whatever a record makes of it.
    virtual void AboutToWrite(const QString& path) = 0;
    virtual void Written(const QString& path, const QByteArray& content, WriteCause cause) = 0;
    virtual void Removed(const QString& path, WriteCause cause) = 0;
    virtual void FolderMade(const QString& path) = 0;

protected:
    ~FileRecordObserver() = default;
};

// From now on the file layer tells record what it does, after the records
// registered before it.
void RegisterFileRecord(FileRecordObserver& record);
void UnregisterFileRecord(FileRecordObserver& record);
// Tells every record registered.
FileRecordObserver& FileRecord();

// While one lives, the file layer's writes and removals are for cause.
class WritingFor {
public:
    explicit WritingFor(WriteCause cause);
    ~WritingFor();
    WritingFor(const WritingFor&) = delete;
    WritingFor& operator=(const WritingFor&) = delete;

private:
    WriteCause previous_;
};

WriteCause CurrentWriteCause();
