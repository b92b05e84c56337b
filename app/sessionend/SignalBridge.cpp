#include "SignalBridge.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

int writeEnd = -1;

// Only calls that are safe in a signal handler: write, and errno put back
// for the code the signal interrupted. A full socket drops the number; the
// ones already in it do the same work.
extern "C" void WriteSignalNumber(int signalNumber)
{
    const int interruptedError = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &number, 1);
    errno = interruptedError;
}

} // namespace

SignalBridge::SignalBridge(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends_) != 0)
        return;
    writeEnd = ends_[0];
    notifier_ = new QSocketNotifier(ends_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::ReadSignals);
    for (int signalNumber : signalNumbers)
        Catch(signalNumber);
}

void SignalBridge::Catch(int signalNumber)
{
    struct sigaction previous {};
    if (::sigaction(signalNumber, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
        return;
    struct sigaction caught {};
    caught.sa_handler = WriteSignalNumber;
    sigemptyset(&caught.sa_mask);
    // A system call the signal interrupts goes on, so that no file call of
    // a save in progress fails with EINTR.
    caught.sa_flags = SA_RESTART;
    if (::sigaction(signalNumber, &caught, nullptr) == 0)
        previous_.emplace_back(signalNumber, previous);
}

SignalBridge::~SignalBridge()
{
    for (const auto& [signalNumber, previous] : previous_)
        ::sigaction(signalNumber, &previous, nullptr);
    if (ends_[0] < 0)
        return;
    delete notifier_;
    writeEnd = -1;
    ::close(ends_[0]);
    ::close(ends_[1]);
}

void SignalBridge::ReadSignals()
{
    unsigned char number = 0;
    while (::read(ends_[1], &number, 1) == 1) {
        if (OnSignal)
            OnSignal(number);
    }
}
