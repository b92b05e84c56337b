#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <sys/types.h>

// Files as the system sees them, made and examined without the line file
// layer, so that a test of that layer does not check it with itself.

// The bytes of a file; "<unreadable>" when it cannot be read.
QByteArray FileBytes(const QString& path);
bool PutFile(const QString& path, const QByteArray& bytes);
// Every entry of a folder, hidden ones too, sorted by name.
QStringList Entries(const QString& folder);
// The permission bits of the entry itself (not what a link leads to);
// mode_t(-1) when there is none.
mode_t ModeOf(const QString& path);
// 0 when there is nothing at path.
ino_t InodeOf(const QString& path);
bool IsSymbolicLink(const QString& path);
bool SetMode(const QString& path, mode_t mode);
// Sets a file's (or a link's own) access and modification time seconds back.
bool AgeBy(const QString& path, int seconds);
// -1 when there is no entry.
qint64 ModifiedAtNanoseconds(const QString& path);
bool MakeLink(const QString& target, const QString& link);

// The process's umask while it lives.
class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous_); }
    UmaskScope(const UmaskScope&) = delete;
    UmaskScope& operator=(const UmaskScope&) = delete;

private:
    mode_t previous_;
};
