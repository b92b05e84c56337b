// Runs one operation of the line file layer in a process of its own, so that a
// test can run it as another user or under lowered resource limits.
//
//   linefile_probe [--fill-fds] read <path>            prints "line <hex>" per line
//   linefile_probe [--fill-fds] write <path> <hex>     CreateForWriting, WritePlainText, Close
//   linefile_probe [--fill-fds] abandon <path> <hex>   the same without CloseLineFile
//   linefile_probe [--fill-fds] replace <path> <hex>   the same with CloseLineFileOver what
//                                                      the file holds first; prints its outcome
//   linefile_probe [--fill-fds] mkdir <path>           MakeFolder
//   linefile_probe [--fill-fds] present <path>         prints "true" or "false"
//   linefile_probe [--fill-fds] copies <path>          prints "copy <path>" per kept
//                                                      copy not told of yet
//
// Several operations may follow one another in the one process, each printing
// its own outcome.
//
// --fault <call>:<n>:<action> injects a fault into a system call of the save
// (see SystemCallFaults.h), and may be given more than once; a simulated
// crash prints "crash" and nothing else. --swap <entry> names what a "swap"
// fault renames over the path of the first operation, which a "change" fault
// appends to. --trace writes the calls that change or sync something to
// stderr, one line each, in order.
//
// --fill-fds takes every free file descriptor first (up to the process's
// RLIMIT_NOFILE), so that the operation meets a system that refuses another
// open file.
//
// Prints "ok" (after any lines) on success, "EInOutError <code> <message>" or
// "Exception <message>" on a failure, and exits with 0; 2 for a wrong call.

#include "Bytes.h"
#include "Exceptions.h"
#include "LineFile.h"
#include "SaveLeftovers.h"
#include "SystemCallFaults.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

void Print(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

QString Argument(char** argv, int index)
{
    return QString::fromLocal8Bit(argv[index]);
}

QString HexArgument(char** argv, int index)
{
    return BytesToText(QByteArray::fromHex(QByteArray(argv[index])));
}

int FillDescriptors()
{
    int taken = 0;
    for (;;) {
        if (::fcntl(0, F_DUPFD, 0) >= 0) {
            ++taken;
            continue;
        }
        if (errno == EMFILE)
            return taken;
        if (errno != EINTR)
            return -1;
    }
}

int Usage()
{
    std::fputs("usage: linefile_probe [--fault <call>:<n>:<action>]... [--swap <entry>] [--fill-fds]\n"
               "       [--trace]\n"
               "       (read|write|abandon|replace|mkdir|present|copies <path> [hex])...\n",
               stderr);
    return 2;
}

int Needed(const QByteArray& command)
{
    if (command == "write" || command == "abandon" || command == "replace")
        return 3;
    if (command == "read" || command == "mkdir" || command == "present" || command == "copies")
        return 2;
    return 0;
}

void Run(const QByteArray& command, const QString& path, char** argv, int at)
{
    if (command == "read") {
        LineFile file = OpenForReading(path);
        while (!AtEndOfFile(file))
            Print(QStringLiteral("line ") + QString::fromLatin1(ReadTextLine(file).toLatin1().toHex()));
        CloseLineFile(file);
    } else if (command == "write" || command == "abandon") {
        const QString content = HexArgument(argv, at + 2);
        LineFile file = CreateForWriting(path);
        WritePlainText(file, content);
        if (command == "write")
            CloseLineFile(file);
    } else if (command == "replace") {
        const std::optional<QByteArray> expected = ContentOnDisk(path);
        LineFile file = CreateForWriting(path);
        WritePlainText(file, HexArgument(argv, at + 2));
        static const char* const outcomes[] = {"written", "already there", "changed elsewhere"};
        Print(QString::fromLatin1(outcomes[int(CloseLineFileOver(file, expected))]));
    } else if (command == "mkdir") {
        MakeFolder(path);
    } else if (command == "copies") {
        for (const QByteArray& copy : UntoldKeptCopies(QFile::encodeName(path)))
            Print(QStringLiteral("copy ") + QFile::decodeName(copy));
    } else {
        Print(FileIsPresent(path) ? QStringLiteral("true") : QStringLiteral("false"));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int at = 1;
    const char* swapEntry = nullptr;
    bool fill = false;
    for (;;) {
        if (at + 1 < argc && std::strcmp(argv[at], "--fault") == 0) {
            if (!ArmFault(argv[at + 1]))
                return Usage();
            at += 2;
        } else if (at + 1 < argc && std::strcmp(argv[at], "--swap") == 0) {
            swapEntry = argv[at + 1];
            at += 2;
        } else if (at < argc && std::strcmp(argv[at], "--fill-fds") == 0) {
            fill = true;
            ++at;
        } else if (at < argc && std::strcmp(argv[at], "--trace") == 0) {
            TraceCalls();
            ++at;
        } else {
            break;
        }
    }
    if (at >= argc)
        return Usage();
    for (int step = at; step < argc; step += Needed(argv[step])) {
        if (Needed(argv[step]) == 0 || argc - step < Needed(argv[step]))
            return Usage();
    }
    SetSwap(swapEntry != nullptr ? swapEntry : "", argv[at + 1]);

    if (fill && FillDescriptors() < 0) {
        std::fputs("linefile_probe: could not take the free descriptors\n", stderr);
        return 2;
    }

    for (; at < argc; at += Needed(argv[at])) {
        try {
            Run(QByteArray(argv[at]), Argument(argv, at + 1), argv, at);
            Print(QStringLiteral("ok"));
        } catch (const EInOutError& failure) {
            Print(QStringLiteral("EInOutError %1 %2").arg(failure.ErrorCode()).arg(failure.Message()));
        } catch (const Exception& failure) {
            Print(QStringLiteral("Exception ") + failure.Message());
        }
    }
    std::fflush(stdout);
    return 0;
}
