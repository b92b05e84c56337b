#pragma once

#include "RunningProgram.h"

#include <QPoint>
#include <QString>
#include <QTemporaryDir>

class BenchGame;

// The editor's window, shown, with its triggers as the user gives them: a
// pointer movement over a page's background and a key release in the chat
// text, each delivered as an event. Every box is recorded, not shown. The
// history records every version, as in the program, in a database of its own.
class EditorTriggers {
public:
    EditorTriggers();

    // Works in this game folder from now on, its files loaded as at F5.
    void Enter(const BenchGame& game);

    void MoveOverPersonalityPage();
    void MoveOverBotConfigPage();
    void ReleaseKeyInChat();

    // Each call makes an edit of the user's on the page, one value changed,
    // so that the next trigger writes.
    void ChangePersonality();
    void ChangeBotConfig();
    void ChangeChat();

    // Records the versions the last triggers made in the history, as the
    // program does once their handler has returned.
    void RecordHistory();

    // The first box the editor showed, or why it keeps no history; nothing
    // when all went well.
    QString Failure() const;

private:
    void MoveOverBackground(QWidget& page, QPoint& point);

    QTemporaryDir state_;
    RunningProgram program_;
    QPoint personalityBackground_;
    QPoint botConfigBackground_;
};
