#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Files are bytes and the controls show them one byte per character, so a
// text may only hold characters from U+0000 to U+00FF.

inline bool HasSingleByteForm(QStringView text)
{
    for (QChar character : text) {
        if (character.unicode() > 0xFF)
            return false;
    }
    return true;
}

inline QString BytesToText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes);
}
