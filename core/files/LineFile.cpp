#include "LineFile.h"

#include "Bytes.h"
#include "Exceptions.h"
#include "FileCalls.h"
#include "FileRecordObserver.h"
#include "FileReplacement.h"
#include "SaveFailures.h"
#include "SaveSteps.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace {

// The file layer's own codes for misuse of a LineFile:
// a closed file, a file not open for reading, a file not open for writing.
constexpr int FileNotOpen = 103;
constexpr int FileNotOpenForInput = 104;
constexpr int FileNotOpenForOutput = 105;

// A symbolic link chain longer than this fails like the system does (ELOOP).
constexpr int MaxLinkHops = 40;

bool IsFolder(const QByteArray& path)
{
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

QByteArray ReadLink(const QByteArray& path)
{
    QByteArray buffer(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlink(path.constData(), buffer.data(), size_t(buffer.size()));
        if (length < 0)
            RaiseErrno(errno);
        if (length < buffer.size()) {
            buffer.truncate(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The file a write to path really replaces: the end of its symbolic link chain.
struct WriteTarget {
    QByteArray path;
    bool exists = false;
    struct stat status {};
};

WriteTarget ResolveWriteTarget(QByteArray path)
{
    for (int hops = 0;; ++hops) {
        WriteTarget target;
        target.path = path;
        if (::lstat(path.constData(), &target.status) != 0) {
            const int error = errno;
            if (error != ENOENT)
                RaiseErrno(error);
            return target;  // missing: created afresh (after the folder check)
        }
        if (!S_ISLNK(target.status.st_mode)) {
            target.exists = true;
            return target;
        }
        if (hops >= MaxLinkHops)
            RaiseErrno(ELOOP);
        const QByteArray link = ReadLink(path);
        path = link.startsWith('/') ? link : ParentOf(path) + '/' + link;
    }
}

QByteArray TextToBytes(const QString& text)
{
    for (QChar character : text) {
        if (character.unicode() > 0xFF) {
            throw Exception(QStringLiteral("The character U+%1 cannot be written to a file: a "
                                           "file only holds characters U+0000 to U+00FF")
                                .arg(QString::number(character.unicode(), 16)
                                         .toUpper()
                                         .rightJustified(4, QLatin1Char('0'))));
        }
    }
    return text.toLatin1();
}

}  // namespace

struct LineFile::State {
    enum class Mode { Reading, Writing };

    explicit State(Mode mode) : mode(mode) {}

    Mode mode;

    // Reading: the whole file, the read position and the end of the data
    // (the first Ctrl-Z, or the size).
    // Writing: everything written so far, which reaches targetPath only at
    // close; until then nothing on disk changes.
    QByteArray content;
    qsizetype position = 0;
    qsizetype end = 0;
    QByteArray targetPath;
    QString path; // as the caller named it
    LineEnds lineEnds = LineEnds::CrLf;
};

LineFile::LineFile(std::unique_ptr<State> state) : state_(std::move(state)) {}
LineFile::LineFile(LineFile&&) noexcept = default;
LineFile& LineFile::operator=(LineFile&&) noexcept = default;
LineFile::~LineFile() = default;

namespace {

LineFile::State& OpenState(std::unique_ptr<LineFile::State>& state)
{
    if (!state)
        throw EInOutError(FileNotOpen);
    return *state;
}

LineFile::State& ReadingState(std::unique_ptr<LineFile::State>& state)
{
    LineFile::State& open = OpenState(state);
    if (open.mode != LineFile::State::Mode::Reading)
        throw EInOutError(FileNotOpenForInput);
    return open;
}

LineFile::State& WritingState(std::unique_ptr<LineFile::State>& state)
{
    LineFile::State& open = OpenState(state);
    if (open.mode != LineFile::State::Mode::Writing)
        throw EInOutError(FileNotOpenForOutput);
    return open;
}

}  // namespace

namespace {

[[noreturn]] void RaiseOpenFailure(const QByteArray& name, int error)
{
    RaiseErrno(error, error == ENOENT && IsFolder(ParentOf(name)) ? MissingEntry::File
                                                                  : MissingEntry::Folder);
}

// A folder, a pipe or a device is no line file: it is refused before it is
// opened, since opening a device may already do something (a device such as
// /dev/zero would then be read without end).
void RequireRegularFile(const QByteArray& name, const struct stat& status)
{
    if (!S_ISREG(status.st_mode))
        RaiseNotALineFile(name, status.st_mode);
}

// 223 is the system's own number for a file too large for the operation.
[[noreturn]] void RaiseTooLarge(const QByteArray& name)
{
    throw EInOutError(223, QStringLiteral("%1 was not read: it is larger than 16 MiB, which no "
                                          "file of the bot ever is")
                               .arg(QFile::decodeName(name)));
}

}  // namespace

LineFile OpenForReading(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat seen {};
    if (::stat(name.constData(), &seen) != 0)
        RaiseOpenFailure(name, errno);
    RequireRegularFile(name, seen);
    const Descriptor file = OpenForReadingWithoutWaiting(name);
    if (!file.IsOpen())
        RaiseOpenFailure(name, errno);

    auto state = std::make_unique<LineFile::State>(LineFile::State::Mode::Reading);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        RaiseErrno(errno);
    // Whatever took the path's place since it was looked at is refused too.
    RequireRegularFile(name, status);
    if (status.st_size > MaxLineFileBytes)
        RaiseTooLarge(name);
    if (!ReadAll(file.Get(), state->content)) {
        if (errno == EFBIG)
            RaiseTooLarge(name);
        RaiseErrno(errno);
    }
    // The read-only descriptor closes on the way out: nothing can be lost there.

    const qsizetype mark = state->content.indexOf(CtrlZ);
    state->end = mark < 0 ? state->content.size() : mark;
    FileRecord().ReadCompletely(path, state->content);
    return LineFile(std::move(state));
}

LineFile CreateForWriting(const QString& path, LineEnds lineEnds)
{
    const WriteTarget target = ResolveWriteTarget(QFile::encodeName(path));
    const QByteArray folder = ParentOf(target.path);
    const QByteArray name = NameOf(target.path);

    if (target.exists) {
        // A folder, a device or a pipe is never replaced by a file.
        if (!S_ISREG(target.status.st_mode))
            throw EInOutError(5);
    } else {
        struct stat status {};
        if (::stat(folder.constData(), &status) != 0)
            RaiseErrno(errno);  // ENOENT and ENOTDIR give 3: a folder is missing
        if (!S_ISDIR(status.st_mode))
            throw EInOutError(3);
        if (name.isEmpty())
            throw EInOutError(5);  // "folder/": a name that can only be a folder
    }

    auto state = std::make_unique<LineFile::State>(LineFile::State::Mode::Writing);
    state->targetPath = target.path;
    state->path = path;
    state->lineEnds = lineEnds;
    return LineFile(std::move(state));
}

bool AtEndOfFile(LineFile& file)
{
    const LineFile::State& state = ReadingState(file.state_);
    return state.position >= state.end;
}

QString ReadTextLine(LineFile& file)
{
    LineFile::State& state = ReadingState(file.state_);
    if (state.position >= state.end)
        return QString();
    const qsizetype start = state.position;
    const char* data = state.content.constData();
    const auto lineEnd = std::find_if(data + start, data + state.end, [](char byte) {
        return byte == CarriageReturn || byte == LineFeed;
    });
    const QString line = BytesToText(QByteArrayView(data + start, lineEnd));
    state.position = lineEnd - data;
    if (state.position < state.end) {  // at a CR or an LF
        ++state.position;
        if (*lineEnd == CarriageReturn && state.position < state.end
            && state.content.at(state.position) == LineFeed)
            ++state.position;
    }
    return line;
}

void WriteTextLine(LineFile& file, const QString& text)
{
    LineFile::State& state = WritingState(file.state_);
    state.content += TextToBytes(text);
    state.content += LineEndBytes(state.lineEnds);
}

void WritePlainText(LineFile& file, const QString& text)
{
    LineFile::State& state = WritingState(file.state_);
    state.content += TextToBytes(text);
}

void FlushText(LineFile& file)
{
    // Everything is kept until CloseLineFile completes the file.
    WritingState(file.state_);
}

namespace {

// Completes a file open for writing; with expected, only over that content.
CloseOutcome Complete(const LineFile::State& state, const std::optional<QByteArray>* expected)
{
    ExistingFile existing;
    {
        const TimedSaveStep step(SaveStep::ReadAndCompare);
        existing = InspectTarget(state.targetPath);
        if (expected != nullptr && !HoldsContent(existing, *expected))
            return CloseOutcome::ChangedElsewhere;
        if (HoldsContent(existing, state.content))
            return CloseOutcome::AlreadyThere;
    }
    FileRecord().AboutToWrite(state.path);
    {
        const TimedSaveStep step(SaveStep::WriteAndSync);
        ReplaceFileContent(state.targetPath, existing, state.content);
    }
    FileRecord().Written(state.path, state.content, CurrentWriteCause());
    return CloseOutcome::Written;
}

// The file is released whatever happens.
std::unique_ptr<LineFile::State> Released(std::unique_ptr<LineFile::State>& state)
{
    if (!state)
        throw EInOutError(FileNotOpen);
    return std::move(state);
}

}  // namespace

void CloseLineFile(LineFile& file)
{
    const std::unique_ptr<LineFile::State> state = Released(file.state_);
    if (state->mode == LineFile::State::Mode::Writing)
        Complete(*state, nullptr);
}

CloseOutcome CloseLineFileOver(LineFile& file, const std::optional<QByteArray>& expected)
{
    WritingState(file.state_);
    const std::unique_ptr<LineFile::State> state = Released(file.state_);
    try {
        return Complete(*state, &expected);
    } catch (const EChangedWhileSaving&) {
        return CloseOutcome::ChangedElsewhere;
    }
}

QByteArray ContentOf(const LineFile& file)
{
    if (!file.state_)
        throw EInOutError(FileNotOpen);
    return file.state_->content;
}

std::optional<QByteArray> ContentOnDisk(const QString& path)
{
    if (!FileIsPresent(path))
        return std::nullopt;
    const LineFile file = OpenForReading(path);
    return ContentOf(file);
}

void MakeFolder(const QString& path)
{
    const QByteArray folder = QFile::encodeName(path);
    if (::mkdir(folder.constData(), 0777) != 0)
        RaiseErrno(errno, MissingEntry::Folder);
    FileRecord().FolderMade(path);
    // What is saved in the folder next must not lose it to a power cut.
    if (!SyncFolder(ParentOf(folder)))
        RaiseErrno(errno);
}

void RemoveFile(const QString& path)
{
    const WriteTarget target = ResolveWriteTarget(QFile::encodeName(path));
    if (!target.exists)
        return;
    if (!S_ISREG(target.status.st_mode))
        throw EInOutError(5);
    if (::unlink(target.path.constData()) != 0)
        RaiseErrno(errno);
    FileRecord().Removed(path, CurrentWriteCause());
}

bool RemoveFolderIfEmpty(const QString& path)
{
    if (::rmdir(QFile::encodeName(path).constData()) == 0)
        return true;
    const int error = errno;
    if (error != ENOTEMPTY && error != EEXIST)
        RaiseErrno(error, MissingEntry::Folder);
    return false;
}

namespace {

// What path names, followed through links; none when nothing of that name
// exists.
std::optional<struct stat> StatusAt(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        return status;
    const int error = errno;
    // Only these say that nothing is there. A path that cannot be examined
    // (a folder closed to this user, a symbolic link loop) may well name a
    // file, and taking it for absent would end a roster early or offer to
    // create a file over it.
    if (error == ENOENT || error == ENOTDIR)
        return std::nullopt;
    RaiseErrno(error, MissingEntry::File);
}

}  // namespace

bool FileIsPresent(const QString& path)
{
    const std::optional<struct stat> status = StatusAt(path);
    return status && !S_ISDIR(status->st_mode);
}

bool AnythingIsAt(const QString& path)
{
    return StatusAt(path).has_value();
}
