#pragma once

#include "ExistingFile.h"

#include <QByteArray>

// Rewrites an existing file where it is, for a file that a new file put in
// its place would change (a second hard link, another user's file, a folder
// that takes no new file).
//
// Before the file is touched a complete copy of its old bytes is written and
// synced under a temporary name, beside the file or, where its folder takes
// no new file, in the user's cache folder (made, with its parents, durably);
// only then does it take its copy name, and its folder is synced. The file is
// then overwritten, cut to length and synced, and only then is the copy
// removed and its folder synced. A failure writes the old bytes back and
// removes the copy; should even that fail, the copy stays and the failure's
// message names it. So a crash or a power cut at any moment leaves the old
// content, the new content, or a damaged file beside a whole copy of the old
// content, and a copy name always holds a whole copy. A save whose old bytes
// cannot be read has no copy to keep and is refused with code 5 before the
// file is touched.
//
// The file written is the one inspected: a path that names another file by
// now (a symbolic link or another file put in its place), or a file changed
// since, is refused with code 5 (EChangedWhileSaving), untouched. A copy that
// the failure's message names, or that a crash leaves, stays until the user
// removes it.
void RewriteInPlace(const QByteArray& targetPath, const ExistingFile& existing,
                    const QByteArray& content);
