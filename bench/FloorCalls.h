#pragma once

#include <QByteArray>

#include <vector>

// The system calls a trigger cannot do without, made directly with every
// path built beforehand: the floor each trigger is measured against.
enum class Sync { No, Yes };

// A whole file written the safe way: a new file beside it, renamed over it.
void WriteByRename(const QByteArray& path, const QByteArray& bytes, Sync sync);

// The start of a file: open, one read, close.
void ReadStart(const QByteArray& path);

// What a pointer movement over the personality page must do: write the
// personality, read the first line of every personality, read bot.cfg.
struct PersonalityFloor {
    QByteArray personalityPath;
    QByteArray personalityBytes;
    std::vector<QByteArray> rosterPaths;
    QByteArray botConfigPath;

    void Run(Sync sync) const;
};
