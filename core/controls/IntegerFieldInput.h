#pragma once

#include <QString>

class QKeyEvent;

// What the user may type into a bounded integer field: digits, "+" and "-"
// anywhere and the control characters of editing keys. The decimal separator
// is refused: the field would read a text holding it as its minimum. Pasting
// is not typing and may put any text in.
bool IsAcceptedIntegerFieldTyping(const QString& text);
bool IsAcceptedIntegerFieldKey(const QKeyEvent& event);
