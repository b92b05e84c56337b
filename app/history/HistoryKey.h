#pragma once

#include <QString>

// A file as the history knows it: the game folder it belongs to and its path
// within it, "cstrike/bot.cfg".
struct HistoryKey {
    QString gameFolder;
    QString file;
};

// The key of a path as the pages name it, relative to the current folder,
// which is the game folder; an absolute path is taken within it too.
HistoryKey HistoryKeyOf(const QString& path);
