#include "HistoryRecorder.h"

#include "Exceptions.h"
#include "Failures.h"

#include <QMetaObject>

namespace {

VersionMaker MakerOfWrite(WriteCause cause)
{
    switch (cause) {
    case WriteCause::PutBack:
        return VersionMaker::PutBack;
    case WriteCause::Restore:
        return VersionMaker::Restored;
    case WriteCause::Save:
        break;
    }
    return VersionMaker::SavedHere;
}

QString SeenKey(const HistoryKey& key)
{
    return key.gameFolder + QLatin1Char('/') + key.file;
}

// Contents too large to keep cannot be compared with what is kept.
bool SameAsNewest(const std::optional<StoredVersion>& newest,
                  const std::optional<QByteArray>& content)
{
    return newest && !newest->tooLarge && newest->content == content;
}

} // namespace

HistoryRecorder::HistoryRecorder()
{
    RegisterFileRecord(*this);
}

HistoryRecorder::~HistoryRecorder()
{
    UnregisterFileRecord(*this);
    RecordWaiting();
}

void HistoryRecorder::Open(const QString& databasePath, std::function<QDateTime()> clock)
{
    opened_ = true;
    try {
        store_ = clock ? std::make_unique<HistoryStore>(databasePath, std::move(clock))
                       : std::make_unique<HistoryStore>(databasePath);
    } catch (const Exception& failure) {
        TurnOff(failure.Message());
        return;
    }
    if (!store_->NoticeAtOpen().isEmpty())
        Tell(store_->NoticeAtOpen());
    RecordWaiting();
}

const HistoryStore* HistoryRecorder::Store()
{
    RecordWaiting();
    return store_.get();
}

void HistoryRecorder::RecordWaiting()
{
    recordingAsked_ = false;
    if (!store_)
        return;
    std::vector<Event> waiting;
    waiting.swap(waiting_);
    for (const Event& event : waiting)
        Record(event);
}

void HistoryRecorder::ReadCompletely(const QString& path, const QByteArray& content)
{
    const HistoryKey key = HistoryKeyOf(path);
    const auto seen = seen_.constFind(SeenKey(key));
    if (seen != seen_.constEnd() && *seen == content)
        return;
    const VersionMaker maker =
        seen == seen_.constEnd() ? VersionMaker::FirstReading : VersionMaker::ChangedElsewhere;
    Note(path, maker, content, true);
}

void HistoryRecorder::Written(const QString& path, const QByteArray& content, WriteCause cause)
{
    Note(path, MakerOfWrite(cause), content, false);
}

void HistoryRecorder::Removed(const QString& path, WriteCause)
{
    Note(path, VersionMaker::Removed, std::nullopt, false);
}

void HistoryRecorder::Note(const QString& path, VersionMaker maker,
                           const std::optional<QByteArray>& content, bool onlyWhenNew)
{
    Event event{HistoryKeyOf(path), maker, content, onlyWhenNew};
    seen_.insert(SeenKey(event.key), content);
    if (opened_ && !store_)
        return;
    waiting_.push_back(std::move(event));
    if (opened_ && !recordingAsked_) {
        recordingAsked_ = true;
        QMetaObject::invokeMethod(&queue_, [this] { RecordWaiting(); }, Qt::QueuedConnection);
    }
}

void HistoryRecorder::Record(const Event& event)
{
    if (!store_)
        return;
    try {
        if (event.onlyWhenNew
            && SameAsNewest(store_->Newest(event.key.gameFolder, event.key.file), event.content))
            return;
        store_->Record(event.key.gameFolder, event.key.file, event.maker, event.content);
        ++revision_;
    } catch (const Exception& failure) {
        TurnOff(failure.Message());
    }
}

void HistoryRecorder::TurnOff(const QString& reason)
{
    store_.reset();
    waiting_.clear();
    unavailable_ = FailureText(QStringLiteral("No history of your files is kept in this run: ") + reason);
    Tell(unavailable_);
}

void HistoryRecorder::Tell(const QString& message) const
{
    if (OnNotice)
        OnNotice(message);
}
