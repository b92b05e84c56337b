// The editor under a dark Fusion palette, as a desktop with a dark colour
// scheme shows it; scripts/screenshots takes its pages for docs/. Started in
// the game folder like the editor itself.

#include "DarkPalette.h"
#include "ProgramStart.h"
#include "main.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
    PrepareApplication();
    ProgramWindows windows;
    MainForm->show();
    return QApplication::exec();
}
