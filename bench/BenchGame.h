#pragma once

#include <QString>
#include <QTemporaryDir>

// A game folder made up for the benchmark: Counter-Strike with this many
// personalities, a bot.cfg that adds the first ten and a chat list for
// "New Round". The editor runs in it once it is the current directory.
class BenchGame {
public:
    explicit BenchGame(int personalities);

    int Personalities() const { return personalities_; }
    QString Path() const { return folder_.path(); }
    void Enter() const;

private:
    QTemporaryDir folder_;
    int personalities_;
};
