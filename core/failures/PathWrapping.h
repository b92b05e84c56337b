#pragma once

#include <QString>

// Boxes name files by their paths. A box's line may break in a path only
// after one of its slashes but the first: never inside a name (at its
// hyphens or dots) and never between a path's first slash and what follows,
// so that "/tmp/game" or "cstrike/bot.cfg" does not start on one line and go
// on at the next. Word joiners, which show nothing, hold the rest together.
QString WithPathsUnbroken(const QString& text);
