#include "RealPointer.h"

#include <QProcess>

bool RunXdoTool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start("xdotool", arguments);
    return xdotool.waitForFinished(5000) && xdotool.exitStatus() == QProcess::NormalExit
           && xdotool.exitCode() == 0;
}

bool MovePointerTo(const QPoint& global)
{
    return RunXdoTool({"mousemove", QString::number(global.x()), QString::number(global.y())});
}
