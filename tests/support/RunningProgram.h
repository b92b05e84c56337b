#pragma once

#include "ProgramStart.h"
#include "RecordingMessageSeam.h"
#include "main.h"

// The program's windows as its start creates them in the current directory,
// with every box recorded instead of shown. Only tests that link the
// program's window modules use it.
struct RunningProgram {
    RecordingMessageSeam seam;
    ProgramWindows windows;
    TMainForm& form = *MainForm;
};
