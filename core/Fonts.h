#pragma once

#include <QFont>

// The program's sans-serif font at a height in pixels, so that the pages look
// the same whatever the screen's resolution.
inline QFont SansSerifFont(int pixelHeight, bool bold = false)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}
