#include "ProgramStart.h"

// Qt's own platform options reach Qt; the rest of the command line is the
// program's (see CommandLine.h).
int main(int argc, char** argv)
{
    return RunProgram(argc, argv);
}
