#include "FileRecordObserver.h"

#include "SaveSteps.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<FileRecordObserver*>& Records()
{
    static std::vector<FileRecordObserver*> records;
    return records;
}

// Passes each event on to every record, in the order they registered.
class AllRecords final : public FileRecordObserver {
public:
    void ReadCompletely(const QString& path, const QByteArray& content) override
    {
        const TimedSaveStep step(SaveStep::Records);
        for (FileRecordObserver* record : Records())
            record->ReadCompletely(path, content);
    }
    void AboutToWrite(const QString& path) override
    {
        const TimedSaveStep step(SaveStep::Records);
        for (FileRecordObserver* record : Records())
            record->AboutToWrite(path);
    }
    void Written(const QString& path, const QByteArray& content, WriteCause cause) override
    {
        const TimedSaveStep step(SaveStep::Records);
        for (FileRecordObserver* record : Records())
            record->Written(path, content, cause);
    }
    void Removed(const QString& path, WriteCause cause) override
    {
        const TimedSaveStep step(SaveStep::Records);
        for (FileRecordObserver* record : Records())
            record->Removed(path, cause);
    }
    void FolderMade(const QString& path) override
    {
        const TimedSaveStep step(SaveStep::Records);
        for (FileRecordObserver* record : Records())
            record->FolderMade(path);
    }
};

WriteCause currentCause = WriteCause::Save;

} // namespace

void RegisterFileRecord(FileRecordObserver& record)
{
    Records().push_back(&record);
}

void UnregisterFileRecord(FileRecordObserver& record)
{
    std::erase(Records(), &record);
}

FileRecordObserver& FileRecord()
{
    static AllRecords all;
    return all;
}

WritingFor::WritingFor(WriteCause cause) : previous_(currentCause)
{
    currentCause = cause;
}

WritingFor::~WritingFor()
{
    currentCause = previous_;
}

WriteCause CurrentWriteCause()
{
    return currentCause;
}
