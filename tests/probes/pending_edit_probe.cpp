#include "EditAsTheUser.h"
#include "ProgramStart.h"

#include <QApplication>

#include <iostream>

// The editor's windows, started in the current folder as the editor starts,
// with an edit that no trigger has saved on the page named by the last
// argument (see EditAsTheUser). Says "ready" on standard output once the
// edit is made, then runs until it is ended.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    PrepareApplication();
    ProgramWindows windows;
    MainForm->show();
    EditAsTheUser(*MainForm, QString::fromLocal8Bit(argv[argc - 1]));
    std::cout << "ready" << std::endl;
    return QApplication::exec();
}
