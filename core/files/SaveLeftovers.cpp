#include "SaveLeftovers.h"

#include "FileCalls.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The longest part of the target's name that goes into a leftover's name, so
// that the name stays within the system's limit of 255 bytes.
constexpr qsizetype MaxNameInLeftover = 200;

// A leftover younger than this may belong to a save still running.
constexpr time_t LeftoverAgeSeconds = 60;

// Longer than a tick of the clock that stamps a folder's times: a folder
// changed this recently may change again without its time moving.
constexpr time_t FolderTimesSettledSeconds = 2;

constexpr qsizetype RandomLength = 8;

bool IsLetterOrDigit(char character)
{
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z')
           || (character >= '0' && character <= '9');
}

bool HasTaggedName(const QByteArray& entry, const QByteArray& prefix, const char* tag)
{
    const QByteArray start = prefix + tag;
    if (!entry.startsWith(start) || entry.size() != start.size() + RandomLength)
        return false;
    return std::all_of(entry.begin() + start.size(), entry.end(), IsLetterOrDigit);
}

enum class Leftover { None, Young, Old };

Leftover OwnLeftover(const QByteArray& path)
{
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0 || !S_ISREG(status.st_mode)
        || status.st_nlink != 1 || status.st_uid != ::geteuid())
        return Leftover::None;
    return status.st_mtime + LeftoverAgeSeconds < std::time(nullptr) ? Leftover::Old
                                                                    : Leftover::Young;
}

// The stems of the places whose last reading left no leftover behind.
QSet<QByteArray>& CleanPlaces()
{
    static QSet<QByteArray> places;
    return places;
}

QByteArray FullPath(const QByteArray& targetPath)
{
    char* folder = ::realpath(ParentOf(targetPath).constData(), nullptr);
    if (folder == nullptr)
        return targetPath;
    const QByteArray full = QByteArray(folder) + '/' + NameOf(targetPath);
    std::free(folder);
    return full;
}

QByteArray CacheFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return QByteArray();
    return QFile::encodeName(cache) + "/tavrik-control-centre";
}

// The file a path names at the end of its link chain, where its saves keep
// their copies.
QByteArray LinkTarget(const QByteArray& path)
{
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char* target = ::realpath(path.constData(), nullptr);
    if (target == nullptr)
        return path;
    const QByteArray resolved(target);
    std::free(target);
    return resolved;
}

QSet<QByteArray>& ToldCopies()
{
    static QSet<QByteArray> copies;
    return copies;
}

// A folder's entries as they stood when it was last read for a prefix.
struct FolderReading {
    dev_t device;
    ino_t inode;
    struct timespec modified;
};

QHash<QByteArray, FolderReading>& ReadFolders()
{
    static QHash<QByteArray, FolderReading> readings;
    return readings;
}

bool Unchanged(const FolderReading& reading, const struct stat& status)
{
    return reading.device == status.st_dev && reading.inode == status.st_ino
           && reading.modified.tv_sec == status.st_mtim.tv_sec
           && reading.modified.tv_nsec == status.st_mtim.tv_nsec;
}

// Adds the untold copies in folder whose names start with prefix; a folder
// whose entries have not changed since its last reading is not read again.
void FindUntoldCopies(const QByteArray& folder, const QByteArray& prefix, QByteArrayList& copies)
{
    struct stat status {};
    if (::stat(folder.constData(), &status) != 0)
        return;
    const QByteArray key = folder + '/' + prefix;
    if (const auto known = ReadFolders().constFind(key);
        known != ReadFolders().cend() && Unchanged(*known, status))
        return;
    DIR* entries = ::opendir(folder.constData());
    if (entries == nullptr)
        return;
    while (const struct dirent* entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        const QByteArray path = folder + '/' + name;
        if (HasTaggedName(name, prefix, CopyTag) && !ToldCopies().contains(path))
            copies << path;
    }
    ::closedir(entries);
    if (status.st_mtim.tv_sec + FolderTimesSettledSeconds < std::time(nullptr))
        ReadFolders().insert(key, {status.st_dev, status.st_ino, status.st_mtim});
    else
        ReadFolders().remove(key);
}

// Creates folder and every missing folder above it, each synced into its
// parent before anything goes into it; true when folder exists already.
bool MakeFolderChain(const QByteArray& folder, mode_t mode)
{
    struct stat status {};
    if (::stat(folder.constData(), &status) == 0)
        return true;
    if (errno != ENOENT || !MakeFolderChain(ParentOf(folder), 0777))
        return false;
    if (::mkdir(folder.constData(), mode) != 0)
        return errno == EEXIST;  // made by another save at this moment
    return SyncFolder(ParentOf(folder));
}

}  // namespace

LeftoverPlace BesideFile(const QByteArray& targetPath)
{
    return {ParentOf(targetPath), '.' + NameOf(targetPath).left(MaxNameInLeftover) + '.'};
}

LeftoverPlace InUserCache(const QByteArray& targetPath)
{
    const QByteArray cache = CacheFolder();
    if (cache.isEmpty())
        return {};
    const QByteArray digest =
        QCryptographicHash::hash(FullPath(targetPath), QCryptographicHash::Sha1).toHex().left(16);
    return {cache, '.' + NameOf(targetPath).left(MaxNameInLeftover) + '.' + digest + '.'};
}

bool MakeCacheFolder(const LeftoverPlace& place)
{
    if (place.folder.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    return MakeFolderChain(place.folder, 0700);
}

void RemoveLeftovers(const LeftoverPlace& place) noexcept
{
    const QByteArray stem = place.Stem(SaveTag);
    if (CleanPlaces().contains(stem))
        return;
    DIR* folder = ::opendir(place.folder.constData());
    if (folder == nullptr)
        return;
    // A young leftover may become removable later: its place is read again.
    bool keptYoung = false;
    while (const struct dirent* entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (!HasTaggedName(name, place.prefix, SaveTag))
            continue;
        const QByteArray path = place.folder + '/' + name;
        switch (OwnLeftover(path)) {
        case Leftover::Old:
            ::unlink(path.constData());
            break;
        case Leftover::Young:
            keptYoung = true;
            break;
        case Leftover::None:
            break;
        }
    }
    ::closedir(folder);
    if (!keptYoung)
        CleanPlaces().insert(stem);
}

void LookForLeftoversAgain() noexcept
{
    CleanPlaces().clear();
}

QByteArrayList UntoldKeptCopies(const QByteArray& path) noexcept
{
    const QByteArray target = LinkTarget(path);
    QByteArrayList copies;
    const LeftoverPlace beside = BesideFile(target);
    FindUntoldCopies(beside.folder, beside.prefix, copies);
    // The digest costs a walk up the path: only a cache folder that exists
    // can hold a copy.
    struct stat status {};
    const QByteArray cache = CacheFolder();
    if (!cache.isEmpty() && ::stat(cache.constData(), &status) == 0) {
        const LeftoverPlace cached = InUserCache(target);
        FindUntoldCopies(cached.folder, cached.prefix, copies);
    }
    return copies;
}

void CopyWasTold(const QByteArray& copyPath) noexcept
{
    ToldCopies().insert(copyPath);
}
