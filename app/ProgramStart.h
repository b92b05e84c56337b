#pragma once

#include <QIcon>

#include <memory>

class TChatHelpForm;
class TMainForm;
class TPersonalityHelpForm;

// The program's icon for the title bar and the task list, at 16 and 32 pixels.
QIcon ProgramIcon();

// Names the program and gives it its icon; needs the application object.
void PrepareApplication();

// The program's three windows, created in the order the start needs: the main
// window (whose creation runs the start-up sequence), then the two help
// windows, hidden. They are reachable by their instance names while they live.
class ProgramWindows {
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

private:
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TChatHelpForm> chatHelpForm_;
    std::unique_ptr<TPersonalityHelpForm> personalityHelpForm_;
};

// Starts the editor in the current directory and runs it until the main
// window is closed; returns the exit code.
int RunProgram(int argc, char** argv);
