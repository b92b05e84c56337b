#include "InPlaceRewrite.h"

#include "Exceptions.h"
#include "FileCalls.h"
#include "SaveLeftovers.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString Shown(const QByteArray& path)
{
    return QFile::decodeName(path);
}

// Writes the copy at place; false with errno set when place takes no file.
bool WriteCopyAt(const LeftoverPlace& place, const QByteArray& old, QByteArray& copyPath)
{
    // Only the user may read the copy: the file may hold what others may not.
    Descriptor copy = CreateUniqueFile(place.Stem(), CopySuffix, 0600, copyPath);
    if (!copy.IsOpen())
        return false;
    try {
        WriteEverything(copy.Get(), old, 0);
        SyncOrRaise(copy.Get());
    } catch (const EInOutError&) {
        ::unlink(copyPath.constData());
        throw;
    }
    SyncFolderQuietly(place.folder);
    return true;
}

// The path of a whole, synced copy of old; raises when no place takes one.
QByteArray KeepCopy(const QByteArray& targetPath, const QByteArray& old)
{
    QByteArray copyPath;
    if (WriteCopyAt(BesideFile(targetPath), old, copyPath))
        return copyPath;
    const LeftoverPlace cache = InUserCache(targetPath);
    RemoveLeftovers(cache);
    if (MakeCacheFolder(cache) && WriteCopyAt(cache, old, copyPath))
        return copyPath;
    const EInOutError cause = InOutErrorFromErrno(errno);
    throw EInOutError(cause.ErrorCode(),
                      QStringLiteral("%1 was not saved: a copy of its old content could be kept "
                                     "neither beside it nor in the cache folder %2 (%3)")
                          .arg(Shown(targetPath), Shown(cache.folder), cause.Message()));
}

Descriptor OpenToOverwrite(const QByteArray& targetPath)
{
    for (;;) {
        const int descriptor = ::open(targetPath.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor >= 0)
            return Descriptor(descriptor);
        if (errno != EINTR)
            RaiseErrno(errno);
    }
}

void Overwrite(int descriptor, const QByteArray& content)
{
    WriteEverything(descriptor, content, 0);
    TruncateOrRaise(descriptor, off_t(content.size()));
    SyncOrRaise(descriptor);
}

bool PutBack(int descriptor, const QByteArray& old) noexcept
{
    try {
        Overwrite(descriptor, old);
        return true;
    } catch (const EInOutError&) {
        return false;
    }
}

[[noreturn]] void RaiseWithCopy(const EInOutError& failure, const QByteArray& targetPath,
                                const QByteArray& copyPath)
{
    throw EInOutError(failure.ErrorCode(),
                      QStringLiteral("%1 could not be saved (%2), and its old content could not "
                                     "be put back either: the file may be damaged. Its old "
                                     "content is kept in %3")
                          .arg(Shown(targetPath), failure.Message(), Shown(copyPath)));
}

}  // namespace

void RewriteInPlace(const QByteArray& targetPath, bool oldReadable, const QByteArray& old,
                    const QByteArray& content)
{
    if (!oldReadable) {
        throw EInOutError(5, QStringLiteral("%1 was not saved: it can only be rewritten where it "
                                            "is, and its old content cannot be read to keep a "
                                            "copy of it in the meantime")
                                 .arg(Shown(targetPath)));
    }
    Descriptor target = OpenToOverwrite(targetPath);
    const QByteArray copyPath = KeepCopy(targetPath, old);
    try {
        Overwrite(target.Get(), content);
    } catch (const EInOutError& failure) {
        if (!PutBack(target.Get(), old))
            RaiseWithCopy(failure, targetPath, copyPath);
        ::unlink(copyPath.constData());
        throw;
    }
    target.Close();  // after fsync the content is on disk whatever close says
    ::unlink(copyPath.constData());
}
