#include "ProgramStart.h"

// The editor takes no arguments and reads no environment; Qt still receives
// argv for its own platform options.
int main(int argc, char** argv)
{
    return RunProgram(argc, argv);
}
