#pragma once

#include <QPoint>
#include <QStringList>

// Moves the real pointer through the X server, so that Qt sees the same
// motion events a user's mouse would produce. Returns false when xdotool
// could not do it.
bool MovePointerTo(const QPoint& global);

// Runs xdotool with these arguments, e.g. {"key", "Left"} or {"click", "1"},
// for real key and button events. Returns false when it failed.
bool RunXdoTool(const QStringList& arguments);
