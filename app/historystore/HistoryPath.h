#pragma once

#include <QString>

// Where the editor keeps its history: history.sqlite in the folder
// tavrik-control-centre of $XDG_STATE_HOME, or of ~/.local/state when that
// is unset, empty or not absolute.
QString DefaultHistoryPath();
