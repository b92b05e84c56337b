#pragma once

#include <QFont>

// The program's sans-serif font at a height in pixels, so that the pages look
// the same whatever the screen's resolution. Liberation Sans is narrow enough
// for the captions to fit their places; any sans-serif face stands in for it.
inline QFont SansSerifFont(int pixelHeight, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}
