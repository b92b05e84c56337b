#include "HistoryOpening.h"

#include "HistoryConnection.h"
#include "HistorySchema.h"
#include "HistoryStatements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The history holds what the user typed: for the user's eyes alone.
constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

const QString JournalEndings[] = {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")};

// Another editor may make the folder or the file at the same moment: what
// counts is that they are there.
void MakeFolder(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, OwnerOnly | QFile::ExeOwner);
    if (!QFileInfo(folder).isDir())
        throw HistoryFailure(path, QStringLiteral("its folder cannot be made"));
}

// SQLite gives its journal files the permissions of the database file.
void MakeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly) && !file.exists())
        throw HistoryFailure(path, file.errorString());
}

void Connect(QSqlDatabase database)
{
    if (!database.isValid())
        throw HistoryFailure(database.databaseName(), QStringLiteral("Qt's SQLite driver is not installed"));
    if (!database.open())
        RaiseFailure(database, database.lastError());
    ReadySchema(database);
}

QString MoveAside(const QString& path, const QDateTime& now)
{
    const QString moved = path + QStringLiteral(".damaged-") + now.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (const QString& ending : JournalEndings) {
        QFile file(path + ending);
        if (file.exists() && !file.rename(moved + ending))
            throw HistoryFailure(path, QStringLiteral("it is damaged and cannot be moved aside as %1: %2")
                                           .arg(moved + ending, file.errorString()));
    }
    return moved;
}

} // namespace

QString OpenHistory(const HistoryConnection& connection, const QDateTime& now)
{
    const QString path = connection.Database().databaseName();
    MakeFolder(path);
    MakeFile(path);
    QString moved;
    try {
        Connect(connection.Database());
        return QString();
    } catch (const DamagedHistory&) {
        // Moved while still open: SQLite removes the journal files it finds
        // when it closes, and they may hold what the user wants back.
        moved = MoveAside(path, now);
    }
    connection.Database().close();
    MakeFile(path);
    Connect(connection.Database());
    return QStringLiteral("The history %1 was damaged, so it was moved aside as %2 and a new one was begun.")
        .arg(path, moved);
}

void OpenHistoryToRead(const HistoryConnection& connection)
{
    QSqlDatabase database = connection.Database();
    if (!database.isValid())
        throw HistoryFailure(database.databaseName(), QStringLiteral("Qt's SQLite driver is not installed"));
    database.setConnectOptions(database.connectOptions() + QStringLiteral(";QSQLITE_OPEN_READONLY"));
    if (!database.open())
        RaiseFailure(database, database.lastError());
}
