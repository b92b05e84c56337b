#include "FirstLineCache.h"

#include "FileCalls.h"
#include "FirstLine.h"
#include "TimeStamps.h"

#include <algorithm>
#include <array>
#include <sys/vfs.h>

namespace {

// File systems of this computer that keep a file's change time to the second
// or finer: ext4, XFS, Btrfs, tmpfs, F2FS and overlays of them. FAT keeps
// two seconds; a network file system shows its server's times, maybe cached.
constexpr std::array<unsigned long, 6> LocalFileSystems = {
    0xEF53UL,      // ext2, ext3, ext4
    0x58465342UL,  // XFS
    0x9123683EUL,  // Btrfs
    0x01021994UL,  // tmpfs
    0xF2F52010UL,  // F2FS
    0x794C7630UL,  // overlay
};

// Longer than a tick of the coarsest clock that such a file system stamps
// times with (a second, for ext4's small inodes).
constexpr time_t FileTimesSettledSeconds = 2;

bool IsLocal(const QByteArray& folder)
{
    struct statfs system {};
    return ::statfs(folder.constData(), &system) == 0
           && std::find(LocalFileSystems.begin(), LocalFileSystems.end(),
                        static_cast<unsigned long>(system.f_type))
                  != LocalFileSystems.end();
}

bool SameFile(const struct stat& one, const struct stat& other)
{
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino
           && one.st_size == other.st_size && SameTimeStamp(one.st_mtim, other.st_mtim)
           && SameTimeStamp(one.st_ctim, other.st_ctim);
}

} // namespace

FirstLineCache::FirstLineCache(Clock now) : now_(std::move(now)) {}

struct timespec FirstLineCache::RealTime()
{
    struct timespec time {};
    ::clock_gettime(CLOCK_REALTIME, &time);
    return time;
}

void FirstLineCache::StartPass(const QByteArray& folder)
{
    previous_ = std::move(current_);
    current_.clear();
    struct stat status {};
    localFolder_ = ::stat(folder.constData(), &status) == 0 && IsLocal(folder);
    folderDevice_ = status.st_dev;
}

std::optional<QString> FirstLineCache::ReadIfPresent(const QByteArray& path)
{
    struct stat status {};
    // Whatever stat cannot see, the full reading judges.
    if (::stat(path.constData(), &status) != 0)
        return ReadFirstLineIfPresent(path, status);
    if (S_ISDIR(status.st_mode))
        return std::nullopt;
    if (!S_ISREG(status.st_mode))
        RaiseNotALineFile(path, status.st_mode);
    if (const auto known = previous_.constFind(path);
        known != previous_.cend() && SameFile(known->status, status)) {
        const QString line = known->line;
        current_.insert(path, *known);
        return line;
    }
    const struct timespec readStart = now_();
    std::optional<QString> line = ReadFirstLineIfPresent(path, status);
    if (line && MayRemember(status, readStart))
        current_.insert(path, {status, *line});
    return line;
}

bool FirstLineCache::MayRemember(const struct stat& status, const struct timespec& readStart) const
{
    return localFolder_ && status.st_dev == folderDevice_
           && status.st_ctim.tv_sec + FileTimesSettledSeconds < readStart.tv_sec;
}
