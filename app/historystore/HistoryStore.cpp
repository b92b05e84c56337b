#include "HistoryStore.h"

#include "HistoryBounds.h"
#include "HistoryConnection.h"
#include "HistoryOpening.h"
#include "HistoryReading.h"
#include "HistoryRecording.h"
#include "HistorySchema.h"
#include "HistoryStatements.h"

HistoryStore::HistoryStore(const QString& path, std::function<QDateTime()> clock)
    : connection_(std::make_unique<HistoryConnection>(path)), clock_(std::move(clock))
{
    const QDateTime now = clock_();
    notice_ = OpenHistory(*connection_, now);
    run_ = BeginRun(connection_->Database(), now);
}

HistoryStore::HistoryStore(const QString& path, Access)
    : connection_(std::make_unique<HistoryConnection>(path))
{
    OpenHistoryToRead(*connection_);
}

HistoryStore::~HistoryStore() = default;

QString HistoryStore::NoticeAtOpen() const
{
    return notice_;
}

void HistoryStore::Record(const QString& gameFolder, const QString& file, VersionMaker maker,
                          const std::optional<QByteArray>& content)
{
    if (run_ == 0)
        throw HistoryFailure(connection_->Database().databaseName(),
                             QStringLiteral("it was opened to be read only"));
    const QSqlDatabase database = connection_->Database();
    const Recording recording{run_, gameFolder, file, maker, content, clock_().toMSecsSinceEpoch()};
    InTransaction(database, [&] { KeepWithinBounds(database, RecordVersion(database, recording), recording.now); });
}

std::vector<StoredVersion> HistoryStore::Versions(const QString& gameFolder, const QString& file) const
{
    return AllVersions(connection_->Database(), gameFolder, file);
}

std::optional<StoredVersion> HistoryStore::Newest(const QString& gameFolder, const QString& file) const
{
    return NewestVersion(connection_->Database(), gameFolder, file);
}

std::optional<StoredVersion> HistoryStore::Version(const QString& gameFolder, const QString& file, int number) const
{
    return NumberedVersion(connection_->Database(), gameFolder, file, number);
}
