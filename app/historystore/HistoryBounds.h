#pragma once

#include <QSqlDatabase>

// Keeps the history within its limits after a version of the file went in
// at now (milliseconds since the epoch): at most versionsPerFile versions of
// the file, no version of any file older than daysKept days, save that the
// oldest version of each file always stays, and no content without a
// version. Call within the recording's transaction.
void KeepWithinBounds(const QSqlDatabase& database, qint64 file, qint64 now);
