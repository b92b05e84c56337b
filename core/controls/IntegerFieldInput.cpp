#include "IntegerFieldInput.h"

#include <QKeyEvent>

#include <algorithm>

namespace {

// Control characters come with editing keys (Backspace, Escape, ...); Delete
// counts as one of them.
bool IsAcceptedCharacter(QChar character)
{
    const char16_t code = character.unicode();
    const bool isControl = code < 32 || code == 127;
    const bool isDigit = code >= u'0' && code <= u'9';
    return isControl || isDigit || code == u'+' || code == u'-';
}

// Ctrl and Meta make a key a shortcut (Ctrl+V, Ctrl+Z, ...), whatever text it
// carries; Ctrl with Alt is AltGr, which types characters.
bool IsShortcut(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool control = modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier);
    return control || modifiers.testFlag(Qt::MetaModifier);
}

} // namespace

bool IsAcceptedIntegerFieldTyping(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), IsAcceptedCharacter);
}

bool IsAcceptedIntegerFieldKey(const QKeyEvent& event)
{
    return IsShortcut(event) || IsAcceptedIntegerFieldTyping(event.text());
}
