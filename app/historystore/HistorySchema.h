#pragma once

#include <QDateTime>
#include <QSqlDatabase>

// Checks the open history, sets its journal and makes its tables when it
// is new. Raises DamagedHistory for a damaged file, HistoryFailure for one
// made by a newer editor or one that cannot be written.
void ReadySchema(const QSqlDatabase& database);

// Enters a new run of the editor into the history; its id.
qint64 BeginRun(const QSqlDatabase& database, const QDateTime& now);
