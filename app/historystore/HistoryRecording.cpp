#include "HistoryRecording.h"

#include "HistoryLimits.h"
#include "HistoryStatements.h"

#include <QCryptographicHash>

namespace {

struct KeptContent {
    QVariant hash; // null without a kept content
    bool tooLarge = false;
};

struct FileRow {
    qint64 id = 0;
    int lastNumber = 0;
};

// Each distinct content is kept once, under its hash.
KeptContent KeepContent(const QSqlDatabase& database, const std::optional<QByteArray>& content)
{
    if (!content)
        return {};
    if (content->size() > HistoryLimits::largestContent)
        return {QVariant(), true};
    const QByteArray hash = QCryptographicHash::hash(*content, QCryptographicHash::Sha256);
    // A null byte array would be bound as NULL; an empty file has content.
    const QByteArray bytes = content->isNull() ? QByteArray("") : *content;
    Run(database, QStringLiteral("INSERT OR IGNORE INTO contents (hash, bytes) VALUES (?, ?)"), {hash, bytes});
    return {hash, false};
}

FileRow FileOf(const QSqlDatabase& database, const Recording& recording)
{
    const QVariantList key{recording.gameFolder, recording.file};
    Run(database, QStringLiteral("INSERT OR IGNORE INTO files (game_folder, path) VALUES (?, ?)"), key);
    QSqlQuery row = Run(database, QStringLiteral("SELECT id, last_number FROM files WHERE game_folder = ? AND path = ?"), key);
    row.next();
    return {row.value(0).toLongLong(), row.value(1).toInt()};
}

// The version a save replaces: the file's newest, when it is a save of the
// same run made at most mergeSeconds before. Anything else is kept apart.
std::optional<int> MergedVersion(const QSqlDatabase& database, qint64 file, const Recording& recording)
{
    if (recording.maker != VersionMaker::SavedHere)
        return std::nullopt;
    QSqlQuery newest = Run(database,
                           QStringLiteral("SELECT number, maker, run, made_at FROM versions WHERE file = ?"
                                          " ORDER BY number DESC LIMIT 1"),
                           {file});
    if (!newest.next())
        return std::nullopt;
    const qint64 age = recording.now - newest.value(3).toLongLong();
    if (newest.value(1).toInt() != static_cast<int>(VersionMaker::SavedHere) || newest.value(2).toLongLong() != recording.run
        || age < 0 || age > HistoryLimits::mergeSeconds * qint64(1000))
        return std::nullopt;
    return newest.value(0).toInt();
}

} // namespace

qint64 RecordVersion(const QSqlDatabase& database, const Recording& recording)
{
    const FileRow file = FileOf(database, recording);
    const KeptContent content = KeepContent(database, recording.content);
    if (const std::optional<int> merged = MergedVersion(database, file.id, recording)) {
        Run(database,
            QStringLiteral("UPDATE versions SET made_at = ?, content = ?, too_large = ? WHERE file = ? AND number = ?"),
            {recording.now, content.hash, content.tooLarge, file.id, *merged});
        return file.id;
    }
    const int number = file.lastNumber + 1;
    Run(database, QStringLiteral("UPDATE files SET last_number = ? WHERE id = ?"), {number, file.id});
    Run(database,
        QStringLiteral("INSERT INTO versions (file, number, made_at, maker, run, content, too_large)"
                       " VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {file.id, number, recording.now, static_cast<int>(recording.maker), recording.run, content.hash,
         content.tooLarge});
    return file.id;
}
