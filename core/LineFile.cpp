#include "LineFile.h"

#include "Bytes.h"
#include "Exceptions.h"
#include "SystemErrors.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr char CarriageReturn = 13;
constexpr char LineFeed = 10;
constexpr char CtrlZ = 26;

// The file layer's own codes for misuse of a LineFile:
// a closed file, a file not open for reading, a file not open for writing.
constexpr int FileNotOpen = 103;
constexpr int FileNotOpenForInput = 104;
constexpr int FileNotOpenForOutput = 105;

// The longest part of the target's name that goes into the temporary name, so
// that the temporary name stays within the system's limit of 255 bytes.
constexpr qsizetype MaxNameInTemporary = 200;

// A symbolic link chain longer than this fails like the system does (ELOOP).
constexpr int MaxLinkHops = 40;

[[noreturn]] void RaiseErrno(int errorNumber, MissingEntry missing = MissingEntry::Folder)
{
    throw InOutErrorFromErrno(errorNumber, missing);
}

QByteArray WithoutTrailingSlashes(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

// The folder that holds a path: "." for a bare name, "/" for a name in the root.
QByteArray ParentOf(const QByteArray& path)
{
    const QByteArray trimmed = WithoutTrailingSlashes(path);
    const qsizetype slash = trimmed.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return trimmed.left(slash);
}

// The last name of a path; empty when the path ends in a slash.
QByteArray NameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

bool IsFolder(const QByteArray& path)
{
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

void CloseQuietly(int descriptor) noexcept
{
    if (descriptor >= 0)
        ::close(descriptor);
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

// Reads a whole open file; returns false with errno set on a failure.
bool ReadAll(int descriptor, QByteArray& content)
{
    content.clear();
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::read(descriptor, chunk, sizeof chunk);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (count == 0)
            return true;
        content.append(chunk, count);
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

QByteArray RandomSuffix()
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(8, Qt::Uninitialized);
    for (char& character : suffix)
        character = alphabet[QRandomGenerator::system()->bounded(int(sizeof alphabet - 1))];
    return suffix;
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
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // Discards an unfinished replacement; never throws.
    ~State()
    {
        CloseQuietly(targetDescriptor);
        CloseQuietly(temporaryDescriptor);
        if (!temporaryPath.isEmpty())
            ::unlink(temporaryPath.constData());
    }

    Mode mode;

    // Reading: the whole file, the read position and the end of the data
    // (the first Ctrl-Z, or the size).
    QByteArray content;
    qsizetype position = 0;
    qsizetype end = 0;

    // Writing: everything written so far is in content; the temporary file
    // that will replace targetPath at close, or, where a replacement would
    // change the file's identity, the target itself, rewritten at close.
    QByteArray targetPath;
    QByteArray temporaryPath;
    int temporaryDescriptor = -1;
    int targetDescriptor = -1;
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

// The bytes of the regular file at path; false when it cannot be read.
bool ReadExisting(const QByteArray& path, QByteArray& content)
{
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return false;
    struct stat status {};
    const bool read = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)
                      && ReadAll(descriptor, content);
    ::close(descriptor);
    return read;
}

// Writes all of content at offset, or raises.
void WriteEverything(int descriptor, const QByteArray& content, off_t offset)
{
    const char* data = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t count = ::pwrite(descriptor, data, size_t(left), offset);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            RaiseErrno(errno);
        }
        if (count == 0)
            RaiseErrno(ENOSPC);
        data += count;
        left -= count;
        offset += count;
    }
}

void SyncOrRaise(int descriptor)
{
    while (::fsync(descriptor) != 0) {
        if (errno != EINTR)
            RaiseErrno(errno);
    }
}

// Makes the rename itself durable; a failure here changes nothing any more.
void SyncFolderQuietly(const QByteArray& folder) noexcept
{
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

void ReplaceByRename(LineFile::State& state)
{
    WriteEverything(state.temporaryDescriptor, state.content, 0);
    SyncOrRaise(state.temporaryDescriptor);
    const int descriptor = std::exchange(state.temporaryDescriptor, -1);
    // On Linux the descriptor is released even when close reports EINTR, and
    // the data is already on disk after fsync.
    if (::close(descriptor) != 0 && errno != EINTR)
        RaiseErrno(errno);
    if (::rename(state.temporaryPath.constData(), state.targetPath.constData()) != 0)
        RaiseErrno(errno);
    state.temporaryPath.clear();
    SyncFolderQuietly(ParentOf(state.targetPath));
}

// Overwrites the file from its start, then cuts it to the new length. Should
// that fail part-way, the old bytes are written back, which needs no more
// room than they took before.
void RewriteInPlace(LineFile::State& state, const QByteArray& old)
{
    const int descriptor = state.targetDescriptor;
    try {
        WriteEverything(descriptor, state.content, 0);
        if (::ftruncate(descriptor, off_t(state.content.size())) != 0)
            RaiseErrno(errno);
        SyncOrRaise(descriptor);
    } catch (const EInOutError&) {
        try {
            WriteEverything(descriptor, old, 0);
        } catch (const EInOutError&) {
            // The first failure is the one to report.
        }
        if (::ftruncate(descriptor, off_t(old.size())) == 0)
            ::fsync(descriptor);
        throw;
    }
    state.targetDescriptor = -1;
    if (::close(descriptor) != 0 && errno != EINTR)
        RaiseErrno(errno);
}

void FinishWriting(LineFile::State& state)
{
    QByteArray old;
    const bool readable = ReadExisting(state.targetPath, old);
    // Saves that change nothing leave the file alone.
    if (readable && old == state.content)
        return;  // the state's destructor removes the temporary file
    if (state.targetDescriptor >= 0)
        RewriteInPlace(state, old);
    else
        ReplaceByRename(state);
}

// A replacement would make the file a new one: a hard link would keep the
// old bytes, and a file of another user's would become the writer's own.
bool KeepsItsIdentityOnlyInPlace(const struct stat& target)
{
    return target.st_nlink > 1;
}

bool TakeOverOwner(int temporaryDescriptor, const struct stat& target)
{
    struct stat temporary {};
    if (::fstat(temporaryDescriptor, &temporary) != 0)
        return false;
    if (temporary.st_uid == target.st_uid && temporary.st_gid == target.st_gid)
        return true;
    return ::fchown(temporaryDescriptor, target.st_uid, target.st_gid) == 0;
}

void OpenTargetInPlace(LineFile::State& state)
{
    CloseQuietly(std::exchange(state.temporaryDescriptor, -1));
    if (!state.temporaryPath.isEmpty())
        ::unlink(std::exchange(state.temporaryPath, QByteArray()).constData());
    int descriptor;
    do {
        descriptor = ::open(state.targetPath.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        RaiseErrno(errno);
    state.targetDescriptor = descriptor;
}

// Creates the temporary file beside the target; false when the folder takes
// no new entry from this user although the target itself may be written.
bool CreateTemporary(LineFile::State& state, const QByteArray& stem, bool targetExists)
{
    for (int attempt = 0;; ++attempt) {
        const QByteArray candidate = stem + RandomSuffix();
        // Mode 0666 lets the umask (and a default ACL) decide a new file's mode.
        const int descriptor = ::open(candidate.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (descriptor >= 0) {
            state.temporaryDescriptor = descriptor;
            state.temporaryPath = candidate;
            return true;
        }
        const int error = errno;
        if (error == EINTR || (error == EEXIST && attempt < 100))
            continue;
        if (targetExists && (error == EACCES || error == EPERM))
            return false;
        RaiseErrno(error);
    }
}

}  // namespace

LineFile OpenForReading(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    int descriptor;
    do {
        // Without O_NONBLOCK a pipe would wait here for a writer that never comes.
        descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        const int error = errno;
        RaiseErrno(error, error == ENOENT && IsFolder(ParentOf(name)) ? MissingEntry::File
                                                                      : MissingEntry::Folder);
    }

    auto state = std::make_unique<LineFile::State>(LineFile::State::Mode::Reading);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        RaiseErrno(error);
    }
    // A folder, a pipe or a device is no line file: a device such as
    // /dev/zero would be read without end.
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        throw EInOutError(5);
    }
    if (!ReadAll(descriptor, state->content)) {
        const int error = errno;
        ::close(descriptor);
        RaiseErrno(error);
    }
    ::close(descriptor);  // a read-only descriptor: nothing can be lost here

    const qsizetype mark = state->content.indexOf(CtrlZ);
    state->end = mark < 0 ? state->content.size() : mark;
    return LineFile(std::move(state));
}

LineFile CreateForWriting(const QString& path)
{
    const WriteTarget target = ResolveWriteTarget(QFile::encodeName(path));
    const QByteArray folder = ParentOf(target.path);
    const QByteArray name = NameOf(target.path);

    if (target.exists) {
        // A folder, a device or a pipe is never replaced by a file.
        if (!S_ISREG(target.status.st_mode))
            throw EInOutError(5);
        if (::faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) != 0)
            RaiseErrno(errno);
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
    if (target.exists && KeepsItsIdentityOnlyInPlace(target.status)) {
        OpenTargetInPlace(*state);
        return LineFile(std::move(state));
    }
    const QByteArray stem = folder + "/." + name.left(MaxNameInTemporary) + '.';
    if (!CreateTemporary(*state, stem, target.exists)) {
        OpenTargetInPlace(*state);
        return LineFile(std::move(state));
    }
    if (target.exists) {
        // The owner first: a change of owner may clear the set-id bits.
        if (!TakeOverOwner(state->temporaryDescriptor, target.status)) {
            OpenTargetInPlace(*state);
            return LineFile(std::move(state));
        }
        if (::fchmod(state->temporaryDescriptor, target.status.st_mode & 07777) != 0)
            RaiseErrno(errno);
    }
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
    qsizetype lineEnd = state.content.indexOf(CarriageReturn, start);
    if (lineEnd < 0 || lineEnd > state.end)
        lineEnd = state.end;
    const QString line = BytesToText(QByteArrayView(state.content).sliced(start, lineEnd - start));
    state.position = lineEnd;
    if (state.position < state.end) {  // at a CR
        ++state.position;
        if (state.position < state.end && state.content.at(state.position) == LineFeed)
            ++state.position;
    }
    return line;
}

void WriteTextLine(LineFile& file, const QString& text)
{
    LineFile::State& state = WritingState(file.state_);
    state.content += TextToBytes(text);
    state.content += CarriageReturn;
    state.content += LineFeed;
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

void CloseLineFile(LineFile& file)
{
    // The file is released whatever happens; a failure below discards the
    // temporary file (the state's destructor) and leaves the old file alone.
    std::unique_ptr<LineFile::State> state = std::move(file.state_);
    if (!state)
        throw EInOutError(FileNotOpen);
    if (state->mode == LineFile::State::Mode::Writing)
        FinishWriting(*state);
}

void MakeFolder(const QString& path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0)
        RaiseErrno(errno, MissingEntry::Folder);
}

bool FileIsPresent(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISDIR(status.st_mode);
}
