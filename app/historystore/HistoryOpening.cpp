#include "HistoryOpening.h"

#include "HistoryConnection.h"
#include "HistorySchema.h"
#include "HistoryStatements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

// The history holds what the user typed: for the user's eyes alone.
constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

const QString JournalEndings[] = {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")};

// Makes the folder and the missing ones above it; the system's reason, with
// the folder it is about, when one cannot be made. Another editor may make
// a folder at the same moment: what counts is that it is there.
QString WhyNotMade(const QString& folder, mode_t mode)
{
    if (QFileInfo(folder).isDir())
        return QString();
    const QString above = QFileInfo(folder).absolutePath();
    if (above != folder)
        if (const QString why = WhyNotMade(above, 0777); !why.isEmpty())
            return why;
    if (mkdir(QFile::encodeName(folder).constData(), mode) == 0)
        return QString();
    const int error = errno;
    if (QFileInfo(folder).isDir())
        return QString();
    return QStringLiteral("the folder %1 cannot be made: %2")
        .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
}

void MakeFolder(const QString& path)
{
    if (const QString why = WhyNotMade(QFileInfo(path).absolutePath(), 0700); !why.isEmpty())
        throw HistoryFailure(path, why);
}

// SQLite gives its journal files the permissions of the database file.
void MakeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly) && !file.exists())
        throw HistoryFailure(path, file.errorString());
}

// Debian ships the driver apart from Qt SQL, so the notice names its package.
void RequireDriver(const HistoryConnection& connection)
{
    if (!connection.Database().isValid())
        throw HistoryFailure(connection.Path(),
                             QStringLiteral("Qt's SQLite driver is not installed: install Debian's "
                                            "package libqt6sql6-sqlite"));
}

void Connect(QSqlDatabase database)
{
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
    const QString& path = connection.Path();
    RequireDriver(connection);
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
    RequireDriver(connection);
    QSqlDatabase database = connection.Database();
    database.setConnectOptions(database.connectOptions() + QStringLiteral(";QSQLITE_OPEN_READONLY"));
    if (!database.open())
        RaiseFailure(database, database.lastError());
}
