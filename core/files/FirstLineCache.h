#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <ctime>
#include <functional>
#include <optional>

#include <sys/stat.h>

// The first lines of files that are read again and again, such as every
// personality of a mod at each trigger. A file is opened and read only when
// it may have changed since its last reading: a file whose device, inode,
// size, modification and change times are all as they were then holds the
// same bytes, as any write changes the change time.
//
// Two writes within one tick of the file system's clock leave the same
// times, so a line is remembered only when the file had not changed for a
// while before it was read, and only on file systems of this computer: on a
// network file system the times may come from the server's cache.
class FirstLineCache {
public:
    using Clock = std::function<struct timespec()>;

    // The clock tells the time that the file times are compared with.
    explicit FirstLineCache(Clock now = RealTime);

    // Begins a reading of files in folder (in the system's encoding). Lines
    // of files not read since the previous call are forgotten.
    void StartPass(const QByteArray& folder);

    // What ReadFirstLineIfPresent gives for path, with the same failures; a
    // pipe or a device fails without being opened.
    std::optional<QString> ReadIfPresent(const QByteArray& path);

    static struct timespec RealTime();

private:
    struct Remembered {
        struct stat status;
        QString line;
    };

    bool MayRemember(const struct stat& status, const struct timespec& readStart) const;

    Clock now_;
    bool localFolder_ = false;
    dev_t folderDevice_ = 0;
    QHash<QByteArray, Remembered> previous_;
    QHash<QByteArray, Remembered> current_;
};
