#include "ProgramStart.h"

#include "ApplicationTitle.h"
#include "ChatHelp.h"
#include "PersonalityHelp.h"
#include "main.h"

#include <QApplication>
#include <QIcon>

QIcon ProgramIcon()
{
    // The images live in a static library, whose resources the linker keeps
    // only when asked for by name.
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tavrik-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/tavrik-32.png"), QSize(32, 32));
    return icon;
}

int RunProgram(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setWindowIcon(ProgramIcon());

    TMainForm mainForm;
    MainForm = &mainForm;
    TChatHelpForm chatHelpForm;
    ChatHelpForm = &chatHelpForm;
    TPersonalityHelpForm personalityHelpForm;
    PersonalityHelpForm = &personalityHelpForm;

    mainForm.show();
    const int exitCode = QApplication::exec();
    MainForm = nullptr;
    ChatHelpForm = nullptr;
    PersonalityHelpForm = nullptr;
    return exitCode;
}
