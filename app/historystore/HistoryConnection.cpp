#include "HistoryConnection.h"

#include <atomic>

namespace {

// Long enough for another editor's Record to end, short enough that a
// stuck one shows as a failure.
const QString BusyTimeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");

QString NewConnectionName()
{
    static std::atomic<int> made = 0;
    return QStringLiteral("tavrik-history-%1").arg(++made);
}

} // namespace

HistoryConnection::HistoryConnection(const QString& path) : name_(NewConnectionName()), path_(path)
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    database.setDatabaseName(path);
    database.setConnectOptions(BusyTimeout);
}

HistoryConnection::~HistoryConnection()
{
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase HistoryConnection::Database() const
{
    return QSqlDatabase::database(name_, false);
}
