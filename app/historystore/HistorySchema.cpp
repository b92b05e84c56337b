#include "HistorySchema.h"

#include "HistoryStatements.h"

namespace {

constexpr int SchemaVersion = 1;

// Times are milliseconds since the epoch, UTC. A file's last_number is the
// highest version number it ever had, so that numbers are never reused.
// A version without content is a removal or a content too large to keep.
const char* const Tables[] = {
    "CREATE TABLE runs (id INTEGER PRIMARY KEY, started INTEGER NOT NULL)",
    "CREATE TABLE files (id INTEGER PRIMARY KEY, game_folder TEXT NOT NULL, path TEXT NOT NULL,"
    " last_number INTEGER NOT NULL DEFAULT 0, UNIQUE (game_folder, path))",
    "CREATE TABLE contents (hash BLOB PRIMARY KEY, bytes BLOB NOT NULL)",
    "CREATE TABLE versions (file INTEGER NOT NULL REFERENCES files (id), number INTEGER NOT NULL,"
    " made_at INTEGER NOT NULL, maker INTEGER NOT NULL, run INTEGER NOT NULL REFERENCES runs (id),"
    " content BLOB REFERENCES contents (hash), too_large INTEGER NOT NULL DEFAULT 0,"
    " PRIMARY KEY (file, number))",
    "CREATE INDEX versions_by_time ON versions (made_at)",
    "CREATE INDEX versions_by_content ON versions (content)",
};

void CheckIntact(const QSqlDatabase& database)
{
    const QString check = ValueOf(database, QStringLiteral("PRAGMA quick_check(1)")).toString();
    if (check != QLatin1String("ok"))
        throw DamagedHistory(database.databaseName(), check);
}

} // namespace

void ReadySchema(const QSqlDatabase& database)
{
    CheckIntact(database);
    // Readers never wait for a writer; a power loss may lose the last
    // versions but never damages the file, which suits a history written at
    // every save.
    Run(database, QStringLiteral("PRAGMA journal_mode = WAL"));
    Run(database, QStringLiteral("PRAGMA synchronous = NORMAL"));
    InTransaction(database, [&] {
        const int version = ValueOf(database, QStringLiteral("PRAGMA user_version")).toInt();
        if (version > SchemaVersion)
            throw HistoryFailure(database.databaseName(), QStringLiteral("a newer version of the editor made it"));
        if (version == SchemaVersion)
            return;
        for (const char* table : Tables)
            Run(database, QString::fromLatin1(table));
        Run(database, QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    });
}

qint64 BeginRun(const QSqlDatabase& database, const QDateTime& now)
{
    return Run(database, QStringLiteral("INSERT INTO runs (started) VALUES (?)"), {now.toMSecsSinceEpoch()})
        .lastInsertId()
        .toLongLong();
}
