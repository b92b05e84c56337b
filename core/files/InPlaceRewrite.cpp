#include "InPlaceRewrite.h"

#include "Exceptions.h"
#include "FileCalls.h"
#include "SaveFailures.h"
#include "SaveLeftovers.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Shown(const QByteArray& path)
{
    return QFile::decodeName(path);
}

// Removes a copy, or the temporary file it began as, and syncs its folder,
// so that a power cut cannot bring the name back to tell of a save that did
// not complete.
void RemoveCopy(const QByteArray& copyPath) noexcept
{
    ::unlink(copyPath.constData());
    SyncFolder(ParentOf(copyPath));
}

// Gives the synced temporary file a copy name that nothing in its folder has.
QByteArray NameCopy(const QByteArray& temporaryPath, const LeftoverPlace& place)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray copyPath = place.Stem(CopyTag) + RandomSuffix();
        struct stat status {};
        if (::lstat(copyPath.constData(), &status) == 0)
            continue;
        if (errno != ENOENT)
            RaiseErrno(errno);
        if (::rename(temporaryPath.constData(), copyPath.constData()) != 0)
            RaiseErrno(errno);
        return copyPath;
    }
    RaiseErrno(EEXIST);
}

// Writes the copy at place; false with errno set when place takes no file.
// The bytes go to a temporary file, synced before it takes its copy name,
// and the folder is synced before the file is touched: a copy name that a
// crash leaves or a notice tells of always holds the whole old content.
bool WriteCopyAt(const LeftoverPlace& place, const QByteArray& old, QByteArray& copyPath)
{
    QByteArray written;
    // Only the user may read the copy: the file may hold what others may not.
    Descriptor copy = CreateUniqueFile(place.Stem(SaveTag), 0600, written);
    if (!copy.IsOpen())
        return false;
    try {
        WriteEverything(copy.Get(), old, 0);
        SyncOrRaise(copy.Get());
        copy.Close();
        written = NameCopy(written, place);
        if (!SyncFolder(place.folder))
            RaiseErrno(errno);
    } catch (const EInOutError&) {
        RemoveCopy(written);
        throw;
    }
    copyPath = written;
    return true;
}

// The path of a whole, synced copy of old; raises when no place takes one.
QByteArray KeepCopy(const QByteArray& targetPath, const LeftoverPlace& cache,
                    const QByteArray& old)
{
    QByteArray copyPath;
    if (WriteCopyAt(BesideFile(targetPath), old, copyPath))
        return copyPath;
    if (MakeCacheFolder(cache) && WriteCopyAt(cache, old, copyPath))
        return copyPath;
    const EInOutError cause = InOutErrorFromErrno(errno);
    throw EInOutError(cause.ErrorCode(),
                      QStringLiteral("%1 was not saved: a copy of its old content could be kept "
                                     "neither beside it nor in the cache folder %2 (%3)")
                          .arg(Shown(targetPath), Shown(cache.folder), cause.Message()));
}

[[noreturn]] void RaiseReplaced(const QByteArray& targetPath)
{
    throw EChangedWhileSaving(QStringLiteral("%1 was not saved: another file took its place while "
                                             "it was being saved")
                                  .arg(Shown(targetPath)));
}

// Opens the inspected file for writing, never a link or another file that
// took its place since.
Descriptor OpenToOverwrite(const QByteArray& targetPath, const struct stat& inspected)
{
    Descriptor target;
    for (;;) {
        target = Descriptor(::open(targetPath.constData(),
                                   O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (target.IsOpen())
            break;
        if (errno == ELOOP)
            RaiseReplaced(targetPath);
        if (errno != EINTR)
            RaiseErrno(errno);
    }
    struct stat status {};
    if (::fstat(target.Get(), &status) != 0)
        RaiseErrno(errno);
    if (status.st_dev != inspected.st_dev || status.st_ino != inspected.st_ino)
        RaiseReplaced(targetPath);
    return target;
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

void RewriteInPlace(const QByteArray& targetPath, const ExistingFile& existing,
                    const QByteArray& content)
{
    if (!existing.readable) {
        throw EInOutError(5, QStringLiteral("%1 was not saved: it can only be rewritten where it "
                                            "is, and its old content cannot be read to keep a "
                                            "copy of it in the meantime")
                                 .arg(Shown(targetPath)));
    }
    const QByteArray& old = existing.bytes;
    Descriptor target = OpenToOverwrite(targetPath, existing.status);
    // Temporary files of crashed copies in the cache are this file's
    // leftovers too.
    const LeftoverPlace cache = InUserCache(targetPath);
    RemoveLeftovers(cache);
    const QByteArray copyPath = KeepCopy(targetPath, cache, old);
    // Keeping the copy takes a sync: what another program did meanwhile stays.
    try {
        RequireAsInspected(targetPath, existing);
    } catch (const EChangedWhileSaving&) {
        RemoveCopy(copyPath);
        throw;
    }
    try {
        Overwrite(target.Get(), content);
    } catch (const EInOutError& failure) {
        if (!PutBack(target.Get(), old)) {
            CopyWasTold(copyPath);
            RaiseWithCopy(failure, targetPath, copyPath);
        }
        RemoveCopy(copyPath);
        throw;
    }
    target.Close();  // after fsync the content is on disk whatever close says
    RemoveCopy(copyPath);
}
