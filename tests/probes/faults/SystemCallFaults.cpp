#include "SystemCallFaults.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/types.h>
#include <unistd.h>

namespace {

enum class Action { Fail, FailAlways, Crash };

struct Fault {
    std::string call;
    long nth = 0;
    Action action = Action::Fail;
    long seen = 0;
};

Fault armed;

// Counts a call; true when it is to fail instead of running.
bool FailsNow(const char* call)
{
    if (armed.call != call)
        return false;
    ++armed.seen;
    const bool due = armed.action == Action::FailAlways ? armed.seen >= armed.nth
                                                        : armed.seen == armed.nth;
    if (due && armed.action != Action::Crash) {
        errno = EIO;
        return true;
    }
    return false;
}

void CrashIfDue(const char* call)
{
    if (armed.call == call && armed.action == Action::Crash && armed.seen == armed.nth) {
        static const char message[] = "crash\n";
        (void)::write(STDOUT_FILENO, message, sizeof message - 1);
        ::_exit(0);
    }
}

}  // namespace

bool ArmFault(const char* fault)
{
    const std::string text(fault);
    const auto first = text.find(':');
    const auto second = text.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return false;
    armed.call = text.substr(0, first);
    armed.nth = std::atol(text.substr(first + 1, second - first - 1).c_str());
    const std::string action = text.substr(second + 1);
    if (action == "fail")
        armed.action = Action::Fail;
    else if (action == "fail-always")
        armed.action = Action::FailAlways;
    else if (action == "crash")
        armed.action = Action::Crash;
    else
        return false;
    return armed.nth > 0;
}

extern "C" {

ssize_t __real_pwrite(int descriptor, const void* data, size_t size, off_t offset);
int __real_ftruncate(int descriptor, off_t length);
int __real_fsync(int descriptor);
int __real_unlink(const char* path);
int __real_rename(const char* from, const char* to);

ssize_t __wrap_pwrite(int descriptor, const void* data, size_t size, off_t offset)
{
    if (FailsNow("pwrite"))
        return -1;
    const ssize_t result = __real_pwrite(descriptor, data, size, offset);
    CrashIfDue("pwrite");
    return result;
}

int __wrap_ftruncate(int descriptor, off_t length)
{
    if (FailsNow("ftruncate"))
        return -1;
    const int result = __real_ftruncate(descriptor, length);
    CrashIfDue("ftruncate");
    return result;
}

int __wrap_fsync(int descriptor)
{
    if (FailsNow("fsync"))
        return -1;
    const int result = __real_fsync(descriptor);
    CrashIfDue("fsync");
    return result;
}

int __wrap_unlink(const char* path)
{
    if (FailsNow("unlink"))
        return -1;
    const int result = __real_unlink(path);
    CrashIfDue("unlink");
    return result;
}

int __wrap_rename(const char* from, const char* to)
{
    if (FailsNow("rename"))
        return -1;
    const int result = __real_rename(from, to);
    CrashIfDue("rename");
    return result;
}

}  // extern "C"
