#pragma once

#include <QIcon>

// The program's icon for the title bar and the task list, at 16 and 32 pixels.
QIcon ProgramIcon();

// Starts the editor in the current directory and runs it until the main
// window is closed; returns the exit code.
int RunProgram(int argc, char** argv);
