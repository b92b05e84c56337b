#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Why a folder is refused as the game folder.
QString NotAGameFolder(const QString& folder);
QString CannotEnter(const QString& folder, int error);

// Where the menu start goes without asking: the folder of last time while
// it still holds a mod folder, else the one Half-Life folder found, when
// exactly one was; none when the user must choose.
std::optional<QString> FolderWithoutAsking(const QStringList& found);

// Where the chooser opens when the start has no folder to offer: the folder
// of last time while it still holds a mod folder, else the first Half-Life
// folder found, else the home folder.
QString LikeliestGameFolder(const QStringList& found);

// Shows the folder chooser, opened at openAt, with the game folders found in
// its side bar and a line saying what a game folder holds (and, with none
// found, that Steam's libraries hold no Half-Life), until the user chooses a
// game folder, which becomes the current directory (true), or cancels
// (false). A mod folder chosen stands for the game folder above it. A folder
// that is no game folder, or cannot be entered, is refused in a box, and the
// chooser shows again.
bool ChooseGameFolder(QWidget* parent, const QString& openAt, const QStringList& found);
