#include "FileRecordObserver.h"

namespace {

class NoRecord final : public FileRecordObserver {
public:
    void ReadCompletely(const QString&, const QByteArray&) override {}
    void AboutToWrite(const QString&) override {}
    void Written(const QString&, const QByteArray&) override {}
    void FolderMade(const QString&) override {}
};

// Both are set before any code runs, so a record registering itself while the
// program starts finds them ready, whatever order the files start in.
constinit NoRecord noRecord;
constinit FileRecordObserver* registered = &noRecord;

} // namespace

void RegisterFileRecord(FileRecordObserver& record)
{
    registered = &record;
}

FileRecordObserver& FileRecord()
{
    return *registered;
}
