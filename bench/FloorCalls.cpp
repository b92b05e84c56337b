#include "FloorCalls.h"

#include <fcntl.h>
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

void ReadStart(const QByteArray& path)
{
    char buffer[4096];
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        Fail("open", path);
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    ::close(descriptor);
    if (count < 0)
        Fail("read", path);
}

void PersonalityFloor::Run(Sync sync) const
{
    WriteByRename(personalityPath, personalityBytes, sync);
    for (const QByteArray& path : rosterPaths)
        ReadStart(path);
    ReadStart(botConfigPath);
}
