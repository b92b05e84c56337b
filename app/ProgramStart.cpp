#include "ProgramStart.h"

#include "AccessibleNames.h"
#include "ApplicationTitle.h"
#include "ChatHelp.h"
#include "CommandLine.h"
#include "Failures.h"
#include "FolderOfLastTime.h"
#include "GameFolderChoice.h"
#include "ModFolders.h"
#include "PersonalityHelp.h"
#include "SaveLeftovers.h"
#include "SessionEnd.h"
#include "SteamLibraries.h"
#include "main.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QPushButton>

#include <unistd.h>

#include <cerrno>
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
    QGuiApplication::setDesktopFileName(QLatin1String(DesktopId));
    // The X11 window class's instance part, which desktops match with the
    // entry's StartupWMClass; Qt reads it when the first window is made.
    if (!qEnvironmentVariableIsSet("RESOURCE_NAME"))
        qputenv("RESOURCE_NAME", DesktopId);
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
    InstallSessionEnd();
    CreateMainForm();
    chatHelpForm_ = std::make_unique<TChatHelpForm>();
    ChatHelpForm = chatHelpForm_.get();
    WireExitButton(*chatHelpForm_);
    personalityHelpForm_ = std::make_unique<TPersonalityHelpForm>();
    PersonalityHelpForm = personalityHelpForm_.get();
    WireExitButton(*personalityHelpForm_);
}

void ProgramWindows::CreateMainForm()
{
    mainForm_ = std::make_unique<TMainForm>();
    MainForm = mainForm_.get();
    mainForm_->OnGameFolderEntered = [this] { StartInEnteredFolder(); };
}

// The previous window shows until the new one's start-up is done, with any
// box it shows.
void ProgramWindows::StartInEnteredFolder()
{
    LookForLeftoversAgain();
    std::unique_ptr<TMainForm> previous = std::move(mainForm_);
    CreateMainForm();
    mainForm_->move(previous->pos());
    mainForm_->show();
    previous->hide();
    leftForm_ = std::move(previous);
    KeepFolderOfLastTime(QDir::currentPath());
}

ProgramWindows::~ProgramWindows()
{
    PersonalityHelpForm = nullptr;
    ChatHelpForm = nullptr;
    MainForm = nullptr;
}

namespace {

// Changes into the game folder before anything reads a file; says why not on
// standard error. Where the folder is the one to start in, it must be a game
// folder; as the chooser's first folder, any folder will do.
bool EnterFolder(const std::string& folder, bool mustBeGameFolder)
{
    const QString name = QString::fromLocal8Bit(folder);
    if (chdir(folder.c_str()) != 0) {
        const int error = errno;
        std::cerr << "tavrik-control-centre: " << CannotEnter(name, error).toLocal8Bit().constData()
                  << "\n";
        return false;
    }
    if (!mustBeGameFolder || HoldsAModFolder(QStringLiteral(".")))
        return true;
    std::cerr << "tavrik-control-centre: " << NotAGameFolder(name).toLocal8Bit().constData()
              << "\n";
    return false;
}

// The menu start goes to the folder of last time, or to the one Half-Life
// found; otherwise, and with a folder given, the user chooses. False when
// the user cancelled.
bool ReachGameFolder(bool folderGiven)
{
    const QString home = QDir::homePath();
    const QStringList found = SteamGameFolders(home);
    if (folderGiven)
        return ChooseGameFolder(nullptr, QDir::currentPath(), found);
    if (const std::optional<QString> folder = FolderWithoutAsking(found);
        folder && chdir(QFile::encodeName(*folder).constData()) == 0)
        return true;
    return ChooseGameFolder(nullptr, found.value(0, home), found);
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
    if (!request.gameFolder.empty() && !EnterFolder(request.gameFolder, !request.chooseFolder))
        return 2;

    int qtArgc = static_cast<int>(request.qtArguments.size());
    request.qtArguments.push_back(nullptr);
    QApplication application(qtArgc, request.qtArguments.data());
    PrepareApplication();
    if (request.chooseFolder && !ReachGameFolder(!request.gameFolder.empty()))
        return 0;
    ProgramWindows windows;
    MainForm->show();
    KeepFolderOfLastTime(QDir::currentPath());
    return QApplication::exec();
}
