#pragma once

#include "SystemErrors.h"

#include <QByteArray>

#include <sys/types.h>

// The system calls of the file layer with their retries and error handling.
// Functions that raise throw EInOutError with the system's error number.

[[noreturn]] void RaiseErrno(int errorNumber, MissingEntry missing = MissingEntry::Folder);

// A folder, a pipe, a socket or a device at path, with the status stat gave
// it, is no line file: refused with code 5, in words that say what it is
// rather than sending the user to look at permissions that allow reading.
[[noreturn]] void RaiseNotALineFile(const QByteArray& path, mode_t mode);

// Owns an open file descriptor and closes it when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int descriptor = -1) noexcept : descriptor_(descriptor) {}
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;
    ~Descriptor();

    int Get() const noexcept { return descriptor_; }
    bool IsOpen() const noexcept { return descriptor_ >= 0; }
    // Closes now; false with errno set when the system reports a failure.
    bool Close() noexcept;

private:
    int descriptor_;
};

// Opens a file for reading without waiting: a pipe opens at once instead of
// waiting for a writer. Returns the open file, or an unopened Descriptor with
// errno set.
Descriptor OpenForReadingWithoutWaiting(const QByteArray& path);

// The folder that holds a path: "." for a bare name, "/" for a name in the root.
QByteArray ParentOf(const QByteArray& path);
// The last name of a path; empty when the path ends in a slash.
QByteArray NameOf(const QByteArray& path);

// Eight random letters and digits.
QByteArray RandomSuffix();

// Creates a new file stem + RandomSuffix() for writing, with mode (less the
// umask). Returns the open file and its path, or an unopened Descriptor with
// errno set.
Descriptor CreateUniqueFile(const QByteArray& stem, mode_t mode, QByteArray& path);

// The largest line file read whole. The bot's files are a few kilobytes, so a
// bigger one is no line file, and reading it would hold up the program.
inline constexpr qint64 MaxLineFileBytes = 16 * 1024 * 1024;

// Reads a whole open file of at most limit bytes; false with errno set on a
// failure, EFBIG when the file holds more.
bool ReadAll(int descriptor, QByteArray& content, qint64 limit = MaxLineFileBytes);
// Writes all of content at offset, or raises.
void WriteEverything(int descriptor, const QByteArray& content, off_t offset);
void TruncateOrRaise(int descriptor, off_t length);
void SyncOrRaise(int descriptor);
// Makes a folder's entries durable, the new names in it and the removed
// ones; false with errno set on a failure. A folder this user may not open
// for reading, or on a file system that syncs no folders, counts as synced:
// nothing more can be done there.
bool SyncFolder(const QByteArray& folder) noexcept;
