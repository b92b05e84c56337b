#include "FileCalls.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

void RaiseErrno(int errorNumber, MissingEntry missing)
{
    throw InOutErrorFromErrno(errorNumber, missing);
}

void RaiseNotALineFile(const QByteArray& path, mode_t mode)
{
    const QLatin1String what(S_ISDIR(mode)    ? "a folder"
                             : S_ISFIFO(mode) ? "a pipe"
                             : S_ISSOCK(mode) ? "a socket"
                                              : "a device");
    throw EInOutError(5, QStringLiteral("%1 is %2, not a file the editor can read")
                             .arg(QFile::decodeName(path), what));
}

Descriptor::Descriptor(Descriptor&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1))
{
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

Descriptor::~Descriptor()
{
    Close();
}

bool Descriptor::Close() noexcept
{
    if (descriptor_ < 0)
        return true;
    // On Linux the descriptor is released even when close reports EINTR.
    return ::close(std::exchange(descriptor_, -1)) == 0 || errno == EINTR;
}

QByteArray ParentOf(const QByteArray& path)
{
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return trimmed.left(slash);
}

QByteArray NameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray RandomSuffix()
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(8, Qt::Uninitialized);
    for (char& character : suffix)
        character = alphabet[QRandomGenerator::system()->bounded(int(sizeof alphabet - 1))];
    return suffix;
}

Descriptor CreateUniqueFile(const QByteArray& stem, mode_t mode, QByteArray& path)
{
    for (int attempt = 0;; ++attempt) {
        const QByteArray candidate = stem + RandomSuffix();
        const int descriptor = ::open(candidate.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (descriptor >= 0) {
            path = candidate;
            return Descriptor(descriptor);
        }
        if (errno == EINTR || (errno == EEXIST && attempt < 100))
            continue;
        return Descriptor();
    }
}

Descriptor OpenForReadingWithoutWaiting(const QByteArray& path)
{
    int descriptor;
    do {
        descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (descriptor < 0 && errno == EINTR);
    return Descriptor(descriptor);
}

bool ReadAll(int descriptor, QByteArray& content, qint64 limit)
{
    content.clear();
    char chunk[65536];
    for (;;) {
        // One byte past the limit tells a file that grew beyond it.
        const qint64 wanted = std::min<qint64>(qint64(sizeof chunk), limit + 1 - content.size());
        const ssize_t count = ::read(descriptor, chunk, size_t(wanted));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (count == 0)
            return true;
        content.append(chunk, count);
        if (content.size() > limit) {
            content.clear();
            errno = EFBIG;
            return false;
        }
    }
}

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

void TruncateOrRaise(int descriptor, off_t length)
{
    while (::ftruncate(descriptor, length) != 0) {
        if (errno != EINTR)
            RaiseErrno(errno);
    }
}

void SyncOrRaise(int descriptor)
{
    while (::fsync(descriptor) != 0) {
        if (errno != EINTR)
            RaiseErrno(errno);
    }
}

bool SyncFolder(const QByteArray& folder) noexcept
{
    const Descriptor descriptor(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!descriptor.IsOpen())
        return errno == EACCES;
    while (::fsync(descriptor.Get()) != 0) {
        if (errno == EINVAL)
            return true;
        if (errno != EINTR)
            return false;
    }
    return true;
}
