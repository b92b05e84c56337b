#pragma once

#include <QString>

#include <optional>

// The game folder of the last run that reached the main window, kept in one
// small file of the user's configuration folder
// ($XDG_CONFIG_HOME/tavrik-control-centre/game-folder).
std::optional<QString> FolderOfLastTime();

// Keeps the folder, an absolute path, for the next menu start. The file is
// written by the careful save; a failure is said on standard error, since
// the run itself goes on as well without it.
void KeepFolderOfLastTime(const QString& folder);
