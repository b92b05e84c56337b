#pragma once

#include <QKeyEvent>

// Return on the main keyboard or Enter on the keypad.
inline bool IsEnterKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}
