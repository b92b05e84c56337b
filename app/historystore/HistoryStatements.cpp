#include "HistoryStatements.h"

namespace {

// SQLite's primary result codes for a damaged file and for a file that is
// no database at all.
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

} // namespace

void RaiseFailure(const QSqlDatabase& database, const QSqlError& error)
{
    const QString reason = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code == SqliteCorrupt || code == SqliteNotADatabase)
        throw DamagedHistory(database.databaseName(), reason);
    throw HistoryFailure(database.databaseName(), reason);
}

HistoryFailure::HistoryFailure(const QString& path, const QString& reason)
    : Exception(QStringLiteral("The history %1 cannot be used: %2").arg(path, reason))
{
}

QSqlQuery Run(const QSqlDatabase& database, const QString& statement, const QVariantList& values)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        RaiseFailure(database, query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        RaiseFailure(database, query.lastError());
    return query;
}

QVariant ValueOf(const QSqlDatabase& database, const QString& statement, const QVariantList& values)
{
    QSqlQuery query = Run(database, statement, values);
    return query.next() ? query.value(0) : QVariant();
}
