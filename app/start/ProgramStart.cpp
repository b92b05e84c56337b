#include "ProgramStart.h"

#include "AccessibleNames.h"
#include "ApplicationTitle.h"
#include "ChatHelp.h"
#include "CommandLine.h"
#include "Failures.h"
#include "FolderOfLastTime.h"
#include "GameFolderChoice.h"
#include "HistoryForm.h"
#include "HistoryListing.h"
#include "HistoryRecorder.h"
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
#include <QPushButton>
#include <QTimer>

#include <unistd.h>

#include <cerrno>
#include <functional>
#include <iostream>

namespace {

// Qt reads a top-level plain widget as a client area; screen readers list a
// program's windows as frames.
QAccessibleInterface* AccessibleWindow(const QString& className, QObject* object)
{
    if (className != QLatin1String(TMainForm::staticMetaObject.className())
        && className != QLatin1String(THelpWindow::staticMetaObject.className())
        && className != QLatin1String(THistoryForm::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

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

ProgramWindows::ProgramWindows() : history_(std::make_unique<HistoryRecorder>())
{
    // Said after the handler that met it, not inside a save.
    history_->OnNotice = [](const QString& message) {
        QTimer::singleShot(0, [message] { RunHandler([&message] { ShowNotice(message); }); });
    };
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
    mainForm_->KeepHistoryWith(history_.get());
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

void ProgramWindows::OpenHistory()
{
    historyOpened_ = true;
    history_->Open(DefaultHistoryPath());
}

namespace {

// Runs an action once the window's first paint is done (queued, so that the
// paint has been flushed to the screen first), and goes with the window.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget& window, std::function<void()> action)
        : QObject(&window), action_(std::move(action))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(this, action_, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> action_;
};

// A window that shows nothing paints nothing.
constexpr int HistoryOpeningAtTheLatestMs = 1000;

} // namespace

void ProgramWindows::OpenHistoryAfterFirstPaint()
{
    const auto open = [this] {
        if (!historyOpened_)
            OpenHistory();
    };
    new AfterFirstPaint(*mainForm_, open);
    QTimer::singleShot(HistoryOpeningAtTheLatestMs, mainForm_.get(), open);
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

// How the start reached its game folder: only a folder the user named, on
// the command line or in the chooser, is kept for the next menu start.
enum class Arrival { AsStarted, Named, Cancelled };

// Without a display the chooser would wait for an answer nobody can give.
// With neither X nor Wayland, Qt would not even start.
bool NoWindowSystem()
{
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Qt's platforms that show nothing.
bool ShowsNothing()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

Arrival Chosen(const QString& openAt, const QStringList& found)
{
    return ChooseGameFolder(nullptr, openAt, found) ? Arrival::Named : Arrival::Cancelled;
}

// The menu start goes to the folder of last time, or to the one Half-Life
// found; otherwise, and with a folder given, the user chooses. A bare start
// outside any game always asks: it did not come from the menu.
Arrival ReachGameFolder(bool folderGiven, bool mayGoWithoutAsking)
{
    const QStringList found = SteamGameFolders(QDir::homePath());
    if (folderGiven)
        return Chosen(QDir::currentPath(), found);
    if (mayGoWithoutAsking) {
        if (const std::optional<QString> folder = FolderWithoutAsking(found);
            folder && chdir(QFile::encodeName(*folder).constData()) == 0)
            return Arrival::AsStarted;
    }
    return Chosen(LikeliestGameFolder(found), found);
}

// The history from the command line, without a window: the file is named
// from the game folder given, else from the current folder.
int RunHistoryListing(const StartRequest& request)
{
    if (!request.gameFolder.empty() && !EnterFolder(request.gameFolder, true))
        return 2;
    // The database's driver is a plugin, which only an application loads.
    int argc = 1;
    char* argv[] = {request.qtArguments.front(), nullptr};
    const QCoreApplication application(argc, argv);
    const QString file = QString::fromLocal8Bit(request.historyFile);
    if (request.versionToShow)
        return ShowVersion(DefaultHistoryPath(), file, *request.versionToShow, std::cout, std::cerr);
    return ListHistory(DefaultHistoryPath(), file, std::cout, std::cerr);
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
    case StartRequest::Action::ShowHistory:
        return RunHistoryListing(request);
    case StartRequest::Action::Start:
        break;
    }
    const bool folderGiven = !request.gameFolder.empty();
    if (folderGiven && !EnterFolder(request.gameFolder, !request.chooseFolder))
        return 2;
    // Started bare in a folder without a game, as from a terminal elsewhere:
    // the user chooses, as at the menu start, and nothing is created here.
    const bool noGameHere =
        !folderGiven && !request.chooseFolder && !HoldsAModFolder(QStringLiteral("."));
    if (noGameHere)
        std::cerr << "tavrik-control-centre: "
                  << NotAGameFolder(QDir::currentPath()).toLocal8Bit().constData() << "\n";
    if (noGameHere && NoWindowSystem())
        return 2;

    int qtArgc = static_cast<int>(request.qtArguments.size());
    request.qtArguments.push_back(nullptr);
    QApplication application(qtArgc, request.qtArguments.data());
    PrepareApplication();
    if (noGameHere && ShowsNothing())
        return 2;
    Arrival arrival = folderGiven ? Arrival::Named : Arrival::AsStarted;
    if (request.chooseFolder || noGameHere)
        arrival = ReachGameFolder(folderGiven, !noGameHere);
    if (arrival == Arrival::Cancelled)
        return 0;
    ProgramWindows windows;
    MainForm->show();
    windows.OpenHistoryAfterFirstPaint();
    if (arrival == Arrival::Named)
        KeepFolderOfLastTime(QDir::currentPath());
    return QApplication::exec();
}
