#include "HistoryBounds.h"

#include "HistoryLimits.h"
#include "HistoryStatements.h"

namespace {

constexpr qint64 MillisecondsPerDay = 24 * 60 * 60 * 1000;

} // namespace

void KeepWithinBounds(const QSqlDatabase& database, qint64 file, qint64 now)
{
    // Beside the oldest, the newest versionsPerFile - 1 stay.
    Run(database,
        QStringLiteral("DELETE FROM versions WHERE file = ?"
                       " AND number > (SELECT MIN(number) FROM versions WHERE file = ?)"
                       " AND number <= (SELECT number FROM versions WHERE file = ? ORDER BY number DESC LIMIT 1 OFFSET ?)"),
        {file, file, file, HistoryLimits::versionsPerFile - 1});
    Run(database,
        QStringLiteral("DELETE FROM versions WHERE made_at < ?"
                       " AND number > (SELECT MIN(number) FROM versions AS oldest WHERE oldest.file = versions.file)"),
        {now - HistoryLimits::daysKept * MillisecondsPerDay});
    Run(database,
        QStringLiteral("DELETE FROM contents WHERE NOT EXISTS (SELECT 1 FROM versions WHERE versions.content = contents.hash)"));
}
