#pragma once

#include <QString>

// Names the program in the task list and captions every message box.
inline QString ApplicationTitle()
{
    return QStringLiteral("Tavrik Control Centre");
}
