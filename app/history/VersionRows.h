#pragma once

#include "HistoryStore.h"

#include <QDateTime>
#include <QString>

#include <vector>

// A version as the history window and the command line list it.
struct VersionRow {
    int number;
    QDateTime madeAt;
    QString madeBy;
    // Its change against the version before it, in the page's terms.
    QString change;
};

// The rows of a file's versions, given newest first as the store gives them.
std::vector<VersionRow> VersionRows(const QString& file, const std::vector<StoredVersion>& versions);

// "3 minutes ago", "yesterday", ... of a time, seen at now.
QString RelativeTime(const QDateTime& madeAt, const QDateTime& now);
// The exact local time, "2026-12-09 12:30:05".
QString ExactTime(const QDateTime& madeAt);
