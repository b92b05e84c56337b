#pragma once

#include <QIcon>

#include <array>
#include <memory>

class HistoryRecorder;
class TChatHelpForm;
class TMainForm;
class TPersonalityHelpForm;

// The sizes the program's icon is drawn in, each for its own size; the same
// images go into the desktop's icon theme.
inline constexpr std::array ProgramIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon for the title bar and the task list.
QIcon ProgramIcon();

// The desktop entry's name, without ".desktop": the window's class and the
// application id the desktop ties the windows to the entry by.
inline constexpr char DesktopId[] = "org.tavrik.ControlCentre";

// Names the program and gives it its icon; needs the application object.
void PrepareApplication();

// The program's three windows, created in the order the start needs: the main
// window (whose creation runs the start-up sequence), then the two help
// windows, hidden. They are reachable by their instance names while they live.
// When the user has entered another game folder from the main window, a new
// main window starts there where the previous one stood.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Opens the history's store, once the window shows: what the start read
    // until then is recorded now. Says once why no history is kept.
    void OpenHistory();
    // Opens it once the main window has painted itself the first time, so
    // that the first paint waits for no database; at the latest after a
    // second, for a window that does not paint.
    void OpenHistoryAfterFirstPaint();
    HistoryRecorder& History() { return *history_; }
    const HistoryRecorder& History() const { return *history_; }

private:
    void CreateMainForm();
    void StartInEnteredFolder();

    // First, so that it records the start-up's readings, and goes last.
    std::unique_ptr<HistoryRecorder> history_;
    std::unique_ptr<TMainForm> mainForm_;
    // The main window left for another game folder, hidden: the handler that
    // left it is still running.
    std::unique_ptr<TMainForm> leftForm_;
    std::unique_ptr<TChatHelpForm> chatHelpForm_;
    std::unique_ptr<TPersonalityHelpForm> personalityHelpForm_;
    bool historyOpened_ = false;
};

// Reads the command line; then starts the editor in the game folder it names
// (or the one the user chooses, or else the current directory) and runs it
// until the main window is closed. Returns the exit code: 2 for a command
// line or a game folder that cannot be used.
int RunProgram(int argc, char** argv);
