#include "FloorCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const char* what, const QByteArray& path)
{
    throw std::runtime_error(std::string(what) + " failed on " + path.toStdString());
}

} // namespace

void WriteByRename(const QByteArray& path, const QByteArray& bytes, Sync sync)
{
    const QByteArray temporary = path + ".floor";
    const int descriptor = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        Fail("open", temporary);
    const bool written = ::write(descriptor, bytes.constData(), size_t(bytes.size())) == bytes.size()
                         && (sync == Sync::No || ::fsync(descriptor) == 0);
    ::close(descriptor);
    if (!written || ::rename(temporary.constData(), path.constData()) != 0)
        Fail("write", temporary);
}

namespace {

void ReadStartOpenedWith(const QByteArray& path, int flags, bool checkType)
{
    char buffer[4096];
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC | flags);
    if (descriptor < 0)
        Fail("open", path);
    struct stat status {};
    const bool regular = !checkType || (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode));
    const ssize_t count = regular ? ::read(descriptor, buffer, sizeof buffer) : -1;
    ::close(descriptor);
    if (count < 0)
        Fail("read", path);
}

} // namespace

void ReadStart(const QByteArray& path)
{
    ReadStartOpenedWith(path, 0, false);
}

void ReadStartOfRegularFile(const QByteArray& path)
{
    ReadStartOpenedWith(path, O_NONBLOCK, true);
}
