#pragma once

#include <QtGlobal>

// What this process has read so far, from /proc/self/io; -1 when it cannot
// be told. Tests compare two readings to see what an operation read.
qint64 ReadCallsSoFar();  // read calls (syscr)
qint64 BytesReadSoFar();  // bytes (rchar)
