#pragma once

#include <QByteArray>

// The system calls a trigger cannot do without, made directly with every
// path built beforehand: the floor each trigger is measured against.
enum class Sync { No, Yes };

// A whole file written the safe way: a new file beside it, renamed over it.
void WriteByRename(const QByteArray& path, const QByteArray& bytes, Sync sync);

// The start of a file: open, one read, close.
void ReadStart(const QByteArray& path);
// The same with the type check that refusing pipes and devices needs: the
// open does not wait, and an fstat comes before the read.
void ReadStartOfRegularFile(const QByteArray& path);
