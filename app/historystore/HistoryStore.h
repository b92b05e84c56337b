#pragma once

#include "HistoryLimits.h"
#include "HistoryPath.h"
#include "StoredVersion.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <vector>

class HistoryConnection;

// The history of every version of every file the editor reads or writes,
// across runs, in one SQLite database. One store is one run of the editor:
// several editors may each hold a store on the same database.
class HistoryStore {
public:
    // Opens the history at path, or begins it; see OpenHistory for a
    // damaged one. Raises Exception naming the path and the reason when it
    // cannot. clock gives the time in UTC.
    explicit HistoryStore(const QString& path, std::function<QDateTime()> clock = &QDateTime::currentDateTimeUtc);
    // Opens the history at path to read it only: nothing is made, checked,
    // moved or written, and the store records nothing. For the command line.
    enum class Access { ReadOnly };
    HistoryStore(const QString& path, Access access);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // One sentence when the history was found damaged and begun anew, naming
    // where the damaged one went; else empty.
    QString NoticeAtOpen() const;

    // Records a version of file, a path within gameFolder (an absolute path),
    // such as "cstrike/bot.cfg"; no content when the file is gone. A save
    // made at most mergeSeconds after this run's save, when that is the
    // file's newest version, replaces it: typing is one version. Then keeps
    // the history within HistoryLimits. One transaction; raises Exception
    // when the database fails.
    void Record(const QString& gameFolder, const QString& file, VersionMaker maker,
                const std::optional<QByteArray>& content);

    // Newest first, with content.
    std::vector<StoredVersion> Versions(const QString& gameFolder, const QString& file) const;
    std::optional<StoredVersion> Newest(const QString& gameFolder, const QString& file) const;
    std::optional<StoredVersion> Version(const QString& gameFolder, const QString& file, int number) const;

private:
    std::unique_ptr<HistoryConnection> connection_;
    std::function<QDateTime()> clock_;
    QString notice_;
    qint64 run_ = 0;
};
