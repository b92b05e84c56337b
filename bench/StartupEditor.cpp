#include "ProgramStart.h"
#include "QuitAtFirstPaint.h"
#include "main.h"

#include <QApplication>

// The editor's start as the program runs it, ending at the first paint.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    PrepareApplication();
    ProgramWindows windows;
    new QuitAtFirstPaint(*MainForm);
    MainForm->show();
    return PrintingPeakMemory(QApplication::exec());
}
