#pragma once

#include <QByteArray>

// Puts content into the regular file at targetPath (the end of any symbolic
// link chain), or creates it there.
//
// A file that already holds exactly these bytes is left alone: nothing is
// created, written or synced, and its modification time stays. Otherwise the
// content goes to a hidden temporary file beside it, is synced and renamed
// over the old file, which keeps its permission bits and owner; a failure
// leaves the old file as it was. Where a new file would change what the file
// is, it is rewritten in place instead (see InPlaceRewrite). Either way the
// leftovers of earlier crashed saves of this file are removed first (see
// RemoveLeftovers).
void SaveFileContent(const QByteArray& targetPath, const QByteArray& content);
