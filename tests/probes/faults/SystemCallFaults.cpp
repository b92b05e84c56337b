#include "SystemCallFaults.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace {

enum class Action { Fail, FailAlways, Interrupt, Short, Crash, Halt, Swap, Change };

struct Fault {
    std::string call;
    long nth = 0;
    Action action = Action::Fail;
};

std::vector<Fault> armed;
std::map<std::string, long> seen;
std::string swapEntry;
std::string swapPath;
bool tracing = false;

[[noreturn]] void EndAsIfKilled()
{
    static const char message[] = "crash\n";
    (void)::write(STDOUT_FILENO, message, sizeof message - 1);
    ::_exit(0);
}

// The path a call worked on: the open file's for a descriptor.
std::string Named(int descriptor)
{
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
    return length < 0 ? link : std::string(path, size_t(length));
}

std::string Named(const char* path)
{
    return path;
}

template <typename... Paths>
void Trace(const char* call, Paths... paths)
{
    if (!tracing || sizeof...(paths) == 0)
        return;
    std::string line = call;
    ((line += ' ' + Named(paths)), ...);
    line += '\n';
    (void)::write(STDERR_FILENO, line.data(), line.size());
}

// Counts a call; the fault due at it, if any.
const Fault* Due(const char* call)
{
    const long count = ++seen[call];
    for (const Fault& fault : armed) {
        if (fault.call == call
            && (fault.nth == count || (fault.action == Action::FailAlways && count > fault.nth)))
            return &fault;
    }
    return nullptr;
}

// True with errno set when the call is to fail instead of running.
bool FailsNow(const Fault* fault)
{
    if (fault == nullptr)
        return false;
    switch (fault->action) {
    case Action::Fail:
    case Action::FailAlways:
        errno = EIO;
        return true;
    case Action::Interrupt:
        errno = EINTR;
        return true;
    case Action::Halt:
        EndAsIfKilled();
    default:
        return false;
    }
}

}  // namespace

extern "C" int __real_rename(const char* from, const char* to);

namespace {

void AfterCall(const Fault* fault)
{
    if (fault == nullptr)
        return;
    if (fault->action == Action::Crash)
        EndAsIfKilled();
    if (fault->action == Action::Swap) {
        const int error = errno;
        if (__real_rename(swapEntry.c_str(), swapPath.c_str()) != 0)
            std::perror("linefile_probe: swap");
        errno = error;
    }
    if (fault->action == Action::Change) {
        const int error = errno;
        const int file = ::open(swapPath.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        static const char line[] = "changed\r\n";
        if (file < 0 || ::write(file, line, sizeof line - 1) != ssize_t(sizeof line - 1))
            std::perror("linefile_probe: change");
        if (file >= 0)
            ::close(file);
        errno = error;
    }
}

template <typename Call, typename... Paths>
auto Wrapped(const char* name, Call call, Paths... paths) -> decltype(call(nullptr))
{
    const Fault* fault = Due(name);
    if (FailsNow(fault))
        return -1;
    const auto result = call(fault);
    if (result >= 0)
        Trace(name, paths...);
    AfterCall(fault);
    return result;
}

}  // namespace

bool ArmFault(const char* fault)
{
    const std::string text(fault);
    const auto first = text.find(':');
    const auto second = text.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return false;
    Fault armedFault;
    armedFault.call = text.substr(0, first);
    armedFault.nth = std::atol(text.substr(first + 1, second - first - 1).c_str());
    static const std::map<std::string, Action> actions = {
        {"fail", Action::Fail},           {"fail-always", Action::FailAlways},
        {"interrupt", Action::Interrupt}, {"short", Action::Short},
        {"crash", Action::Crash},         {"halt", Action::Halt},
        {"swap", Action::Swap},           {"change", Action::Change},
    };
    const auto action = actions.find(text.substr(second + 1));
    if (action == actions.end() || armedFault.nth <= 0)
        return false;
    armedFault.action = action->second;
    armed.push_back(armedFault);
    return true;
}

void SetSwap(const char* entry, const char* path)
{
    swapEntry = entry;
    swapPath = path;
}

void TraceCalls()
{
    tracing = true;
}

extern "C" {

ssize_t __real_pwrite(int descriptor, const void* data, size_t size, off_t offset);
int __real_ftruncate(int descriptor, off_t length);
int __real_fsync(int descriptor);
int __real_unlink(const char* path);
int __real_mkdir(const char* path, mode_t mode);
int __real_fstat(int descriptor, struct stat* status);
int __real_fsetxattr(int descriptor, const char* name, const void* value, size_t size, int flags);

ssize_t __wrap_pwrite(int descriptor, const void* data, size_t size, off_t offset)
{
    return Wrapped("pwrite", [&](const Fault* fault) {
        const bool cut = fault != nullptr && fault->action == Action::Short;
        return __real_pwrite(descriptor, data, cut ? std::max<size_t>(1, size / 2) : size, offset);
    }, descriptor);
}

int __wrap_ftruncate(int descriptor, off_t length)
{
    return Wrapped("ftruncate", [&](const Fault*) { return __real_ftruncate(descriptor, length); },
                   descriptor);
}

int __wrap_fsync(int descriptor)
{
    return Wrapped("fsync", [&](const Fault*) { return __real_fsync(descriptor); }, descriptor);
}

int __wrap_unlink(const char* path)
{
    return Wrapped("unlink", [&](const Fault*) { return __real_unlink(path); }, path);
}

int __wrap_rename(const char* from, const char* to)
{
    return Wrapped("rename", [&](const Fault*) { return __real_rename(from, to); }, from, to);
}

int __wrap_mkdir(const char* path, mode_t mode)
{
    return Wrapped("mkdir", [&](const Fault*) { return __real_mkdir(path, mode); }, path);
}

int __wrap_fstat(int descriptor, struct stat* status)
{
    return Wrapped("fstat", [&](const Fault*) { return __real_fstat(descriptor, status); });
}

int __wrap_fsetxattr(int descriptor, const char* name, const void* value, size_t size, int flags)
{
    return Wrapped("fsetxattr", [&](const Fault*) {
        return __real_fsetxattr(descriptor, name, value, size, flags);
    }, descriptor);
}

}  // extern "C"
