#pragma once

#include "Exceptions.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

// A failure of the history database: names the database and the reason.
class HistoryFailure : public Exception {
public:
    HistoryFailure(const QString& path, const QString& reason);
};

// The history's file is no database, or a damaged one.
class DamagedHistory : public HistoryFailure {
public:
    using HistoryFailure::HistoryFailure;
};

// Raises the failure SQLite reported: DamagedHistory when it found the
// file damaged, else HistoryFailure.
[[noreturn]] void RaiseFailure(const QSqlDatabase& database, const QSqlError& error);

// Runs one statement with values bound to its placeholders in order; paths
// and contents only ever reach SQLite this way. Raises as RaiseFailure.
QSqlQuery Run(const QSqlDatabase& database, const QString& statement, const QVariantList& values = {});

// The first column of the first row of a statement, null without a row.
QVariant ValueOf(const QSqlDatabase& database, const QString& statement, const QVariantList& values = {});

// Runs body as one transaction. It begins writing at once, so that a second
// editor's transaction waits in the busy timeout instead of failing halfway.
template <typename Body>
void InTransaction(const QSqlDatabase& database, Body&& body)
{
    Run(database, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        body();
        Run(database, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}
