#include "QuitAtFirstPaint.h"

#include <QApplication>
#include <QLabel>

// The least a Qt program does to show a window: one label, ending at its first paint.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("Tavrik Control Centre"));
    new QuitAtFirstPaint(label);
    label.show();
    return PrintingPeakMemory(QApplication::exec());
}
