#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The library folders that Steam's steamapps/libraryfolders.vdf lists: the
// "path" of each numbered entry, or, in the file's older layout, the value
// of each numbered key. The reader takes the file's text format (quoted or
// bare keys and values, nested braces, backslash escapes, // comments) and
// passes over what it does not know; a damaged or truncated file gives the
// paths of the entries it got through, never a failure.
QStringList LibraryFolderPaths(const QByteArray& vdfText);

// The Half-Life folders of every Steam library found under home: the usual
// Steam roots (native, Flatpak, snap) and the libraries their
// libraryfolders.vdf lists. Only game folders are given, each once, as its
// canonical path, in the order found.
QStringList SteamGameFolders(const QString& home);
