#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <cstdio>

// Says "shown" on the standard output once the window has painted itself the
// first time, and ends the event loop: start-up is measured up to that line.
class QuitAtFirstPaint : public QObject {
public:
    explicit QuitAtFirstPaint(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // Queued, so that the children have painted and the window is flushed.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [] {
                    std::printf("shown\n");
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool painted_ = false;
};

// Prints the process's peak resident memory in KiB, as the system counts it
// for this program alone (VmHWM), and passes the exit code on.
inline int PrintingPeakMemory(int exitCode)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                std::printf("%s\n", line.mid(6).trimmed().constData());
        }
    }
    return exitCode;
}
