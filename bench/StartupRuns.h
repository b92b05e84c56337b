#pragma once

#include <QString>

// One start of a program that ends by itself, in the current directory.
struct StartupRun {
    double seconds = 0;
    double peakKibibytes = 0;
};

// Starts the program, waits for its end and measures the wall time from the
// start to its exit; the program prints its own peak memory as it ends.
StartupRun RunToExit(const QString& program);
