#include "SaveLeftovers.h"

#include "FileCalls.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
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

bool IsLetterOrDigit(char character)
{
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z')
           || (character >= '0' && character <= '9');
}

bool HasLeftoverName(const QByteArray& entry, const QByteArray& prefix)
{
    if (!entry.startsWith(prefix))
        return false;
    QByteArray rest = entry.mid(prefix.size());
    if (rest.endsWith(CopySuffix))
        rest.chop(qsizetype(sizeof CopySuffix - 1));
    return rest.size() == 8 && std::all_of(rest.begin(), rest.end(), IsLetterOrDigit);
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

}  // namespace

LeftoverPlace BesideFile(const QByteArray& targetPath)
{
    return {ParentOf(targetPath), '.' + NameOf(targetPath).left(MaxNameInLeftover) + '.'};
}

LeftoverPlace InUserCache(const QByteArray& targetPath)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    const QByteArray digest =
        QCryptographicHash::hash(FullPath(targetPath), QCryptographicHash::Sha1).toHex().left(16);
    return {QFile::encodeName(cache) + "/tavrik-control-centre",
            '.' + NameOf(targetPath).left(MaxNameInLeftover) + '.' + digest + '.'};
}

bool MakeCacheFolder(const LeftoverPlace& place)
{
    if (place.folder.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    if (::mkdir(place.folder.constData(), 0700) == 0 || errno == EEXIST)
        return true;
    if (errno != ENOENT || !QDir().mkpath(QFile::decodeName(ParentOf(place.folder))))
        return false;
    return ::mkdir(place.folder.constData(), 0700) == 0 || errno == EEXIST;
}

void RemoveLeftovers(const LeftoverPlace& place) noexcept
{
    const QByteArray stem = place.Stem();
    if (CleanPlaces().contains(stem))
        return;
    DIR* folder = ::opendir(place.folder.constData());
    if (folder == nullptr)
        return;
    // A young leftover may become removable later: its place is read again.
    bool keptYoung = false;
    while (const struct dirent* entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (!HasLeftoverName(name, place.prefix))
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
