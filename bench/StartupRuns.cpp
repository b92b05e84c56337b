#include "StartupRuns.h"

#include <QElapsedTimer>
#include <QProcess>

#include <stdexcept>

StartupRun RunToExit(const QString& program)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    while (!process.canReadLine() && process.waitForReadyRead(60000)) {
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const QByteArray shown = process.readLine();
    if (shown != "shown\n" || !process.waitForFinished(60000)
        || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error("the start of " + program.toStdString() + " failed");
    // "32160 kB"
    const double peak = process.readAllStandardOutput().split(' ').value(0).toDouble();
    return {seconds, peak};
}
