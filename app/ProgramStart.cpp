#include "ProgramStart.h"

#include "AccessibleNames.h"
#include "ApplicationTitle.h"
#include "ChatHelp.h"
#include "CommandLine.h"
#include "Failures.h"
#include "PersonalityHelp.h"
#include "main.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QPixmap>
#include <QPushButton>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace {

// Read as the PNG image it is: guessing the format would load every image
// format plugin of the system first, a noticeable part of the start.
QPixmap PngImage(const QString& path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// Qt reads a top-level plain widget as a client area; screen readers list a
// program's windows as frames.
QAccessibleInterface* AccessibleWindow(const QString& className, QObject* object)
{
    if (className != QLatin1String(TMainForm::staticMetaObject.className())
        && className != QLatin1String(THelpWindow::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

QIcon ProgramIcon()
{
    // The images live in a static library, whose resources the linker keeps
    // only when asked for by name.
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    for (int size : ProgramIconSizes)
        icon.addPixmap(PngImage(QStringLiteral(":/icons/tavrik-%1.png").arg(size)));
    return icon;
}

void PrepareApplication()
{
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setWindowIcon(ProgramIcon());
    QAccessible::installFactory(AccessibleWindow);
    InstallAccessibleValueFields();
    InstallAccessiblePageTabs();
    InstallAccessibleCheckLists();
    InstallAccessibleDropDownSelectors();
}

namespace {

// The help windows know nothing of the program; their button's handler runs
// under the program's failure guard like every other handler.
void WireExitButton(THelpWindow& window)
{
    QObject::connect(window.ExitButton, &QPushButton::clicked, &window,
                     [&window] { RunHandler([&window] { window.ExitButtonClick(); }); });
}

} // namespace

ProgramWindows::ProgramWindows()
{
    mainForm_ = std::make_unique<TMainForm>();
    MainForm = mainForm_.get();
    chatHelpForm_ = std::make_unique<TChatHelpForm>();
    ChatHelpForm = chatHelpForm_.get();
    WireExitButton(*chatHelpForm_);
    personalityHelpForm_ = std::make_unique<TPersonalityHelpForm>();
    PersonalityHelpForm = personalityHelpForm_.get();
    WireExitButton(*personalityHelpForm_);
}

ProgramWindows::~ProgramWindows()
{
    PersonalityHelpForm = nullptr;
    ChatHelpForm = nullptr;
    MainForm = nullptr;
}

namespace {

// The folder the game's Steam release installs into, where there is one.
QString UsualGameFolder()
{
    const QString home = QDir::homePath();
    for (const char* steam : {"/.steam/steam", "/.local/share/Steam"}) {
        const QString folder =
            home + QLatin1String(steam) + QStringLiteral("/steamapps/common/Half-Life");
        if (QDir(folder).exists())
            return folder;
    }
    return home;
}

std::string CannotEnter(const std::string& folder, int error)
{
    return "cannot open the game folder " + folder + ": " + std::strerror(error);
}

// Changes into the game folder before anything reads a file; says why not on
// standard error.
bool EnterFolder(const std::string& folder)
{
    if (chdir(folder.c_str()) == 0)
        return true;
    const int error = errno;
    std::cerr << "tavrik-control-centre: " << CannotEnter(folder, error) << "\n";
    return false;
}

// Opens in the folder given on the command line, else in the game's usual
// folder. False when the user cancelled; a folder that cannot be entered is
// said so in the error box, and the chooser opens again.
bool ChooseGameFolder(bool folderGiven)
{
    QString start = folderGiven ? QDir::currentPath() : UsualGameFolder();
    for (;;) {
        const QString folder = QFileDialog::getExistingDirectory(
            nullptr, QStringLiteral("Choose the game folder"), start);
        if (folder.isEmpty())
            return false;
        const QByteArray path = QFile::encodeName(folder);
        if (chdir(path.constData()) == 0)
            return true;
        const int error = errno;
        ReportFailure(Exception(QString::fromLocal8Bit(CannotEnter(path.toStdString(), error))));
        start = folder;
    }
}

} // namespace

int RunProgram(int argc, char** argv)
{
    StartRequest request = ReadCommandLine(argc, argv);
    switch (request.action) {
    case StartRequest::Action::ShowHelp:
        std::cout << UsageText();
        return 0;
    case StartRequest::Action::ShowVersion:
        std::cout << VersionText();
        return 0;
    case StartRequest::Action::Refuse:
        std::cerr << "tavrik-control-centre: " << request.refusal << "\n\n" << UsageText();
        return 2;
    case StartRequest::Action::Start:
        break;
    }
    if (!request.gameFolder.empty() && !EnterFolder(request.gameFolder))
        return 2;

    int qtArgc = static_cast<int>(request.qtArguments.size());
    request.qtArguments.push_back(nullptr);
    QApplication application(qtArgc, request.qtArguments.data());
    PrepareApplication();
    if (request.chooseFolder && !ChooseGameFolder(!request.gameFolder.empty()))
        return 0;
    ProgramWindows windows;
    MainForm->show();
    return QApplication::exec();
}
