#include "ExistingFile.h"

#include "Exceptions.h"
#include "FileCalls.h"
#include "SaveFailures.h"
#include "TimeStamps.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The same file, not written, truncated, renamed onto or given other
// attributes since: a change of content or of its status moves ctime.
bool Unchanged(const struct stat& now, const struct stat& then)
{
    return now.st_dev == then.st_dev && now.st_ino == then.st_ino && now.st_size == then.st_size
           && SameTimeStamp(now.st_mtim, then.st_mtim)
           && SameTimeStamp(now.st_ctim, then.st_ctim);
}

[[noreturn]] void RaiseChanged(const QByteArray& path, const char* what)
{
    throw EChangedWhileSaving(QStringLiteral("%1 was not saved: %2 while it was being saved")
                                  .arg(QFile::decodeName(path), QLatin1String(what)));
}

}  // namespace

ExistingFile InspectTarget(const QByteArray& path)
{
    ExistingFile existing;
    struct stat seen {};
    if (::stat(path.constData(), &seen) == 0 && !S_ISREG(seen.st_mode))
        throw EInOutError(5);
    // Non-blocking: a pipe put there since does not hold the save up.
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

bool HoldsContent(const ExistingFile& existing, const std::optional<QByteArray>& content)
{
    if (!content)
        return !existing.present;
    return existing.readable && existing.bytes == *content;
}

void RequireAsInspected(const QByteArray& path, const ExistingFile& existing)
{
    struct stat now {};
    if (::lstat(path.constData(), &now) != 0) {
        const int error = errno;
        if (error != ENOENT)
            RaiseErrno(error);
        if (existing.present)
            RaiseChanged(path, "another program removed it");
        return;
    }
    if (!existing.present || now.st_dev != existing.status.st_dev
        || now.st_ino != existing.status.st_ino)
        RaiseChanged(path, "another file took its place");
    if (!Unchanged(now, existing.status))
        RaiseChanged(path, "another program changed it");
}
