#pragma once

#include <QPoint>

// Moves the real pointer through the X server, so that Qt sees the same
// motion events a user's mouse would produce. Returns false when xdotool
// could not do it.
bool MovePointerTo(const QPoint& global);
