#include "FileReplacement.h"

#include "Exceptions.h"
#include "ExtendedAttributes.h"
#include "FileCalls.h"
#include "InPlaceRewrite.h"
#include "SaveFailures.h"
#include "SaveLeftovers.h"

#include <QFile>
#include <QScopeGuard>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    RequireAsInspected(targetPath, existing);
    if (::rename(temporary.path.constData(), targetPath.constData()) != 0)
        RaiseErrno(errno);
    temporary.path.clear();
    return true;
}

// A load refuses a file over the limit: writing one would leave a file that
// cannot be loaded, put back or saved again.
void RequireReadableBack(const QByteArray& targetPath, const QByteArray& content)
{
    if (content.size() <= MaxLineFileBytes)
        return;
    const QString reason = QStringLiteral("it would be larger than 16 MiB, and a file that large "
                                          "is not read back");
    throw EWriteRefused(223, QFile::decodeName(targetPath) + QStringLiteral(" was not saved: ") + reason,
                        reason);
}

// The true reason, as the file system and the mode bits tell it: a file no
// one may write is read-only; one that only its owner may write belongs to
// another user.
QString WhyUnwritable(const QByteArray& checked, bool isFile, int error)
{
    if (error == EROFS)
        return QStringLiteral("the file system is read-only");
    const QString what = isFile ? QStringLiteral("the file") : QStringLiteral("its folder");
    struct stat status {};
    if (::stat(checked.constData(), &status) != 0 || (status.st_mode & 0222) == 0)
        return what + QStringLiteral(" is read-only");
    const QString deed = isFile ? QStringLiteral("write it") : QStringLiteral("create files in it");
    if (status.st_uid != ::geteuid())
        return what + QStringLiteral(" belongs to another user and gives you no permission to ")
               + deed;
    return isFile ? QStringLiteral("you have no permission to write the file")
                  : QStringLiteral("you have no permission to create files in its folder");
}

// An existing file takes the new content only where this user may write it;
// a new one needs a folder that takes new files.
void RequireWriteAccess(const QByteArray& targetPath, const ExistingFile& existing)
{
    const QByteArray checked = existing.present ? targetPath : ParentOf(targetPath);
    const int access = existing.present ? W_OK : W_OK | X_OK;
    if (::faccessat(AT_FDCWD, checked.constData(), access, AT_EACCESS) == 0)
        return;
    const int error = errno;
    if (error != EACCES && error != EPERM && error != EROFS)
        RaiseErrno(error);
    throw EWriteRefused(5, EInOutError::MessageForCode(5),
                        QStringLiteral("it cannot be written, since ")
                            + WhyUnwritable(checked, existing.present, error));
}

}  // namespace

void ReplaceFileContent(const QByteArray& targetPath, const ExistingFile& existing,
                        const QByteArray& content)
{
    RequireReadableBack(targetPath, content);
    RequireWriteAccess(targetPath, existing);
    auto failed = qScopeGuard([] { LookForLeftoversAgain(); });
    RemoveLeftovers(BesideFile(targetPath));
    // A hard link would keep the old bytes under its other name.
    const bool onlyInPlace = existing.present && existing.status.st_nlink > 1;
    if (onlyInPlace || !ReplaceByRename(targetPath, existing, content))
        RewriteInPlace(targetPath, existing, content);
    failed.dismiss();
}
