#include "FirstLine.h"

#include "Bytes.h"
#include "Exceptions.h"
#include "FileCalls.h"
#include "LineFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough for the first line of any ordinary file in one read.
constexpr std::size_t ReadSize = 4096;

// The most read for a first line: a file with no line end near its start
// (a large file of zeros) is not read to its end for its name.
constexpr qint64 MaxFirstLineBytes = 65536;

QString ReadFirstLine(int descriptor, const struct stat& status)
{
    char buffer[ReadSize];
    QByteArray line;
    qint64 total = 0;
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            RaiseErrno(errno);
        }
        if (count == 0)
            return BytesToText(line);
        const char* end = std::find_if(buffer, buffer + count, [](char byte) {
            return byte == CarriageReturn || byte == LineFeed || byte == CtrlZ;
        });
        line.append(buffer, end - buffer);
        total += count;
        // A regular file ends at its size; files of the system's own (in
        // /proc) show a size of 0 and are read until the end.
        if (end != buffer + count || (status.st_size > 0 && total >= status.st_size)
            || total >= MaxFirstLineBytes)
            return BytesToText(line);
    }
}

} // namespace

std::optional<QString> ReadFirstLineIfPresent(const QByteArray& path, struct stat& status)
{
    const Descriptor file = OpenForReadingWithoutWaiting(path);
    if (!file.IsOpen()) {
        const int error = errno;
        // Only a file that is there turns a failed open into a failure; the
        // test comes after the open so that the usual case costs no stat.
        if (!FileIsPresent(QFile::decodeName(path)))
            return std::nullopt;
        RaiseErrno(error, MissingEntry::File);
    }
    if (::fstat(file.Get(), &status) != 0)
        RaiseErrno(errno);
    if (S_ISDIR(status.st_mode))
        return std::nullopt;
    // A pipe or a device is no line file: a device such as /dev/zero would
    // be read without end.
    if (!S_ISREG(status.st_mode))
        RaiseNotALineFile(path, status.st_mode);
    return ReadFirstLine(file.Get(), status);
}
