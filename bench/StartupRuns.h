#pragma once

#include <QString>

// One start of a program that ends by itself, in the current directory.
struct StartupRun {
    double seconds = 0;
    double peakKibibytes = 0;
};

// Starts the program and measures the wall time from the start until it says
// "shown"; then waits for its end, when it prints its own peak memory.
StartupRun RunToExit(const QString& program);
