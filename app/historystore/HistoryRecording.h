#pragma once

#include "VersionMaker.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// One recording: which run records what, and when.
struct Recording {
    qint64 run = 0;
    QString gameFolder;
    QString file;
    VersionMaker maker = VersionMaker::FirstReading;
    std::optional<QByteArray> content;
    qint64 now = 0; // milliseconds since the epoch
};

// Enters a version of the file, or merges a save into the run's save just
// before it; the file's id. Call within a transaction.
qint64 RecordVersion(const QSqlDatabase& database, const Recording& recording);
