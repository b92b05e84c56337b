#pragma once

#include <QString>

class QKeyEvent;

// What the user may type into a bounded integer field: digits, "+" and "-"
// anywhere, the locale's decimal separator and the control characters of
// editing keys. Pasting is not typing and may put any text in.
bool IsAcceptedIntegerFieldTyping(const QString& text);
bool IsAcceptedIntegerFieldKey(const QKeyEvent& event);
