#pragma once

#include <QString>

#include <iosfwd>

// The command line's view of the history, which only reads the database:
// the versions of the file at path (from the current folder or absolute, in
// whatever game folder it lies), one line each, newest first: its number,
// time, what made it and its change, separated by tabs. Returns the
// program's exit status: 1 when nothing is kept of the file, 2 when the
// history cannot be read.
int ListHistory(const QString& databasePath, const QString& path, std::ostream& out,
                std::ostream& errors);
// Writes version number's bytes to out, as they were; 1 when there is no
// such version or it keeps no content.
int ShowVersion(const QString& databasePath, const QString& path, int number, std::ostream& out,
                std::ostream& errors);
