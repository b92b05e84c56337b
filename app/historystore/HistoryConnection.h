#pragma once

#include <QSqlDatabase>
#include <QString>

// The one connection of Qt's SQL module that one store holds to the history
// database; removed with the store. Each has a name of its own, so that
// stores on one database stay apart.
class HistoryConnection {
public:
    explicit HistoryConnection(const QString& path);
    ~HistoryConnection();
    HistoryConnection(const HistoryConnection&) = delete;
    HistoryConnection& operator=(const HistoryConnection&) = delete;

    QSqlDatabase Database() const;
    // The database's file, also when the driver is missing and the
    // connection cannot tell it.
    const QString& Path() const { return path_; }

private:
    QString name_;
    QString path_;
};
