#include "RealPointer.h"

#include <QProcess>

bool MovePointerTo(const QPoint& global)
{
    QProcess xdotool;
    xdotool.start("xdotool", {"mousemove", QString::number(global.x()), QString::number(global.y())});
    return xdotool.waitForFinished(5000) && xdotool.exitStatus() == QProcess::NormalExit
           && xdotool.exitCode() == 0;
}
