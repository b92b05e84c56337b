#pragma once

#include "FileRecordObserver.h"
#include "HistoryKey.h"
#include "HistoryStore.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Records a version of a file in the user's history each time this run first
// reads it, writes it, puts it back, restores or removes it, and each time a
// reading finds it changed by another program. The file layer tells it what
// happens; the versions are written to the store once the handler that made
// them has returned, so that no save waits for the database, and until the
// store is open, which is after the window shows, they wait. Recording never
// stops a save: when the store cannot be opened or written, the history is
// off for the rest of the run, said once.
class HistoryRecorder final : public FileRecordObserver {
public:
    HistoryRecorder();
    ~HistoryRecorder();
    HistoryRecorder(const HistoryRecorder&) = delete;
    HistoryRecorder& operator=(const HistoryRecorder&) = delete;

    // Opens the store and records what waited for it.
    void Open(const QString& databasePath, std::function<QDateTime()> clock = {});
    // The store to read from, with every version waiting recorded; none
    // before Open and once the history is off.
    const HistoryStore* Store();
    // Records the versions that wait for the handler to return: at once, as
    // before the program ends by a signal.
    void RecordWaiting();
    // Why this run keeps no history; empty while it does.
    const QString& Unavailable() const { return unavailable_; }
    // Grows with every version recorded, so that a view knows when to read again.
    quint64 Revision() const { return revision_; }

    // Told once, with the reason, when the history goes off, and with the
    // store's notice when it started a new database for a damaged one.
    std::function<void(const QString& message)> OnNotice;

    void ReadCompletely(const QString& path, const QByteArray& content) override;
    void AboutToWrite(const QString&) override {}
    void Written(const QString& path, const QByteArray& content, WriteCause cause) override;
    void Removed(const QString& path, WriteCause cause) override;
    void FolderMade(const QString&) override {}

private:
    struct Event {
        HistoryKey key;
        VersionMaker maker;
        std::optional<QByteArray> content;
        // A reading is a version only where the newest one differs.
        bool onlyWhenNew;
    };
    void Note(const QString& path, VersionMaker maker, const std::optional<QByteArray>& content,
              bool onlyWhenNew);
    void Record(const Event& event);
    void TurnOff(const QString& reason);
    void Tell(const QString& message) const;

    std::unique_ptr<HistoryStore> store_;
    bool opened_ = false;
    QString unavailable_;
    std::vector<Event> waiting_;
    // Carries the queued call that records what waits, and goes with the
    // recorder.
    QObject queue_;
    bool recordingAsked_ = false;
    // The content this run last saw of each file, by its key; none: missing.
    QHash<QString, std::optional<QByteArray>> seen_;
    quint64 revision_ = 0;
};
