#pragma once

// Starts the editor in the current directory and runs it until the main
// window is closed; returns the exit code.
int RunProgram(int argc, char** argv);
