#pragma once

#include "HistoryKey.h"

// The key of a file named on the command line, from whatever folder: its
// game folder is the folder above the innermost mod folder on its path
// (cstrike, valve, ...), with links resolved as the window's current folder
// has them, and its place below that is as the pages name it. Another path
// is taken within the current folder, as HistoryKeyOf takes it.
HistoryKey HistoryKeyOfNamedFile(const QString& path);
