#pragma once

#include <QByteArray>
#include <QByteArrayList>

// The names of the files a save makes, the removal of those that a crashed
// save left behind, and the finding of the copies it keeps.
//
// A save of <folder>/<name> writes the new content to the hidden temporary
// file <folder>/.<name>.tavrik-save-XXXXXXXX, and a rewrite in place keeps the
// old content in <folder>/.<name>.tavrik-copy-XXXXXXXX (X a letter or digit),
// written as such a temporary file first, so that a copy name always holds a
// whole copy.
// Where the folder takes no new file, that copy goes to the user's cache
// folder, under a name that also holds a digest of the file's full path,
// since many files of the game share a name. The tags are this program's
// own, so that no file a user made by hand (".bot.cfg.original") is ever
// taken for one of these.
struct LeftoverPlace {
    QByteArray folder;
    QByteArray prefix;

    // The start of every name of this kind here: the tag follows the prefix,
    // eight letters or digits follow the tag.
    QByteArray Stem(const char* tag) const { return folder + '/' + prefix + tag; }
};

inline constexpr char SaveTag[] = "tavrik-save-";
inline constexpr char CopyTag[] = "tavrik-copy-";

LeftoverPlace BesideFile(const QByteArray& targetPath);
// Empty folder when the user has no cache folder.
LeftoverPlace InUserCache(const QByteArray& targetPath);

// Creates the cache folder of InUserCache and the folders above it that are
// missing, each synced into its parent so that a power cut cannot take away
// a copy kept in it; false with errno set when it cannot.
bool MakeCacheFolder(const LeftoverPlace& place);

// Removes the temporary files of crashed saves from place: only names with
// the save tag, only regular files (no links) with one name, owned by this
// user and last changed more than a minute ago, so that a save running at
// this moment in another window is never disturbed. Never fails. Copies of
// old content are never removed here: a crash or an error box leaves them
// for the user.
//
// Only a crashed or failed save leaves such files, so a place found with
// nothing left to remove is not read again while the program runs: a folder
// of a thousand entries costs more to read than the save itself.
void RemoveLeftovers(const LeftoverPlace& place) noexcept;

// After a failed save, which may have left a file behind: every place is
// read again at its next save.
void LookForLeftoversAgain() noexcept;

// The copies of old content kept beside the file at path (the end of its
// link chain) or in the cache folder that nobody has been told of yet. A
// folder is read again only when its entries changed. Never fails.
QByteArrayList UntoldKeptCopies(const QByteArray& path) noexcept;
// The user knows of this copy now (an error box or a notice named it).
void CopyWasTold(const QByteArray& copyPath) noexcept;
