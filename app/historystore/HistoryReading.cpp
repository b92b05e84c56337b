#include "HistoryReading.h"

#include "HistoryStatements.h"

namespace {

const QString Selection = QStringLiteral(
    "SELECT v.number, v.made_at, v.maker, v.too_large, v.content IS NOT NULL, c.bytes"
    " FROM versions AS v JOIN files AS f ON f.id = v.file LEFT JOIN contents AS c ON c.hash = v.content"
    " WHERE f.game_folder = ? AND f.path = ? ");

std::vector<StoredVersion> Select(const QSqlDatabase& database, const QString& condition, const QVariantList& values)
{
    QSqlQuery rows = Run(database, Selection + condition, values);
    std::vector<StoredVersion> versions;
    while (rows.next()) {
        StoredVersion version;
        version.number = rows.value(0).toInt();
        version.madeAt = QDateTime::fromMSecsSinceEpoch(rows.value(1).toLongLong(), Qt::UTC);
        version.maker = MakerOfCode(rows.value(2).toInt());
        version.tooLarge = rows.value(3).toBool();
        if (rows.value(4).toBool())
            version.content = rows.value(5).toByteArray();
        versions.push_back(std::move(version));
    }
    return versions;
}

std::optional<StoredVersion> First(std::vector<StoredVersion> versions)
{
    if (versions.empty())
        return std::nullopt;
    return std::move(versions.front());
}

} // namespace

std::vector<StoredVersion> AllVersions(const QSqlDatabase& database, const QString& gameFolder, const QString& file)
{
    return Select(database, QStringLiteral("ORDER BY v.number DESC"), {gameFolder, file});
}

std::optional<StoredVersion> NewestVersion(const QSqlDatabase& database, const QString& gameFolder, const QString& file)
{
    return First(Select(database, QStringLiteral("ORDER BY v.number DESC LIMIT 1"), {gameFolder, file}));
}

std::optional<StoredVersion> NumberedVersion(const QSqlDatabase& database, const QString& gameFolder,
                                             const QString& file, int number)
{
    return First(Select(database, QStringLiteral("AND v.number = ?"), {gameFolder, file, number}));
}
