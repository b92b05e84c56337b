#pragma once

#include "ExistingFile.h"

#include <QByteArray>

// Puts content into the regular file at targetPath (the end of any symbolic
// link chain), or creates it there; existing is what InspectTarget found
// there, and the caller has found that it differs from content.
//
// Content larger than a load reads, and a file (or for a new file, a folder)
// this user may not write, raise EWriteRefused before anything is touched.
// Otherwise the content goes to a hidden temporary file beside it, is synced
// and renamed over the old file, which keeps its permission bits and owner; a
// failure leaves the old file as it was. Where a new file would change what
// the file is, it is rewritten in place instead (see InPlaceRewrite). Either
// way the leftovers of earlier crashed saves of this file are removed first
// (see RemoveLeftovers), and right before the rename or the in-place write
// the file is checked to be as inspected (RequireAsInspected).
void ReplaceFileContent(const QByteArray& targetPath, const ExistingFile& existing,
                        const QByteArray& content);
