#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Files are bytes and the controls show them one byte per character, so a
// text may only hold characters from U+0000 to U+00FF.

// The bytes that end a line, and the Ctrl-Z that ends a file when it is read.
constexpr char CarriageReturn = 13;
constexpr char LineFeed = 10;
constexpr char CtrlZ = 26;

inline bool HasSingleByteForm(QStringView text)
{
    for (QChar character : text) {
        if (character.unicode() > 0xFF)
            return false;
    }
    return true;
}

// Whether the user may put text into a control whose text goes to a file:
// every character has a single-byte form, and none is the Ctrl-Z that ends a
// file when it is read, which would cut off the rest at the next load.
inline bool CanStandInAFile(QStringView text)
{
    return HasSingleByteForm(text) && !text.contains(QLatin1Char(CtrlZ));
}

inline QString BytesToText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}
