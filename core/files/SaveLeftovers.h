#pragma once

#include <QByteArray>

// The names of the files a save makes beside the file it saves, and the
// removal of those that a crashed save left behind.
//
// A save of <folder>/<name> writes the new content to the hidden temporary
// file <folder>/.<name>.XXXXXXXX, and a rewrite in place keeps the old
// content in <folder>/.<name>.XXXXXXXX.old (X a letter or digit). Where the
// folder takes no new file, that copy goes to the user's cache folder, under a
// name that also holds a digest of the file's full path, since many files of
// the game share a name.
struct LeftoverPlace {
    QByteArray folder;
    // Every leftover name here is prefix + 8 letters or digits, + ".old" for
    // a copy.
    QByteArray prefix;

    QByteArray Stem() const { return folder + '/' + prefix; }
};

inline constexpr char CopySuffix[] = ".old";

LeftoverPlace BesideFile(const QByteArray& targetPath);
// Empty folder when the user has no cache folder.
LeftoverPlace InUserCache(const QByteArray& targetPath);

// Creates the cache folder of InUserCache; false with errno set when it cannot.
bool MakeCacheFolder(const LeftoverPlace& place);

// Removes the leftovers of crashed saves from place: only names of its
// pattern, only regular files (no links) with one name, owned by this user
// and last changed more than a minute ago, so that a save running at this
// moment in another window is never disturbed. Never fails.
//
// Only a crashed or failed save leaves such files, so a place found with
// nothing left to remove is not read again while the program runs: a folder
// of a thousand entries costs more to read than the save itself.
void RemoveLeftovers(const LeftoverPlace& place) noexcept;

// After a failed save, which may have left a file behind: every place is
// read again at its next save.
void LookForLeftoversAgain() noexcept;
