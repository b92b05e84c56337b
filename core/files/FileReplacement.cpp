#include "FileReplacement.h"

#include "Exceptions.h"
#include "ExtendedAttributes.h"
#include "FileCalls.h"
#include "InPlaceRewrite.h"
#include "SaveLeftovers.h"

#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What is at the target now. A folder, a device or a pipe raises code 5
// before it is opened; the non-blocking open keeps a pipe put there since
// from holding the save up. A file too large to be a line file counts as
// unreadable: it is never read whole.
ExistingFile Inspect(const QByteArray& path)
{
    ExistingFile existing;
    struct stat seen {};
    if (::stat(path.constData(), &seen) == 0 && !S_ISREG(seen.st_mode))
        throw EInOutError(5);
    Descriptor file(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.IsOpen()) {
        const int error = errno;
        if (error == ENOENT)
            return existing;
        if ((error != EACCES && error != EPERM) || ::stat(path.constData(), &existing.status) != 0)
            RaiseErrno(error);
        existing.present = true;  // written by this user, read by nobody
    } else {
        if (::fstat(file.Get(), &existing.status) != 0)
            RaiseErrno(errno);
        existing.present = true;
        if (S_ISREG(existing.status.st_mode)) {
            if (existing.status.st_size > MaxLineFileBytes)
                return existing;
            if (!ReadAll(file.Get(), existing.bytes)) {
                if (errno != EFBIG)
                    RaiseErrno(errno);
                return existing;
            }
        }
        existing.readable = true;
    }
    if (!S_ISREG(existing.status.st_mode))
        throw EInOutError(5);
    return existing;
}

// Gives the temporary file the old file's owner and group; false when this
// user may not, which a replacement would turn into a file of its own.
bool TakeOverOwner(int temporary, const struct stat& target)
{
    struct stat status {};
    if (::fstat(temporary, &status) != 0)
        return false;
    if (status.st_uid == target.st_uid && status.st_gid == target.st_gid)
        return true;
    return ::fchown(temporary, target.st_uid, target.st_gid) == 0;
}

// Removes the temporary file unless the rename took it.
class TemporaryFile {
public:
    Descriptor file;
    QByteArray path;

    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        file.Close();
        if (!path.isEmpty())
            ::unlink(path.constData());
    }
};

// Writes content by a new file renamed over the old one; false when that
// would change what an existing file is and nothing was done.
bool ReplaceByRename(const QByteArray& targetPath, const ExistingFile& existing,
                     const QByteArray& content)
{
    TemporaryFile temporary;
    // Mode 0666 lets the umask (and a default ACL) decide a new file's mode.
    // A new file's mode is left to the umask (and a default ACL). In place of
    // an existing file the temporary one starts readable by this user alone
    // and takes the file's owner, attributes and mode before it holds a byte.
    temporary.file = CreateUniqueFile(BesideFile(targetPath).Stem(SaveTag),
                                      existing.present ? 0600 : 0666, temporary.path);
    if (!temporary.file.IsOpen()) {
        if (existing.present && (errno == EACCES || errno == EPERM))
            return false;  // the folder takes no new file, but the file may be written
        RaiseErrno(errno);
    }
    if (existing.present) {
        // The owner first: a change of owner may clear the set-id bits.
        if (!TakeOverOwner(temporary.file.Get(), existing.status)
            || !CopyAttributes(targetPath, temporary.file.Get()))
            return false;
        if (::fchmod(temporary.file.Get(), existing.status.st_mode & 07777) != 0)
            RaiseErrno(errno);
    }
    WriteEverything(temporary.file.Get(), content, 0);
    // A power cut after the rename must find the new bytes on disk, never an
    // empty file. The folder is not synced: that would only make the new
    // name durable sooner.
    SyncOrRaise(temporary.file.Get());
    if (!temporary.file.Close())
        RaiseErrno(errno);
    if (::rename(temporary.path.constData(), targetPath.constData()) != 0)
        RaiseErrno(errno);
    temporary.path.clear();
    return true;
}

}  // namespace

void SaveFileContent(const QByteArray& targetPath, const QByteArray& content)
{
    const ExistingFile existing = Inspect(targetPath);
    if (existing.readable && existing.bytes == content)
        return;
    auto failed = qScopeGuard([] { LookForLeftoversAgain(); });
    RemoveLeftovers(BesideFile(targetPath));
    // A hard link would keep the old bytes under its other name.
    const bool onlyInPlace = existing.present && existing.status.st_nlink > 1;
    if (onlyInPlace || !ReplaceByRename(targetPath, existing, content))
        RewriteInPlace(targetPath, existing, content);
    failed.dismiss();
}
