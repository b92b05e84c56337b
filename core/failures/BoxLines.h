#pragma once

#include <QString>

class QFontMetricsF;

// Boxes name files by their paths, and Qt's word wrap would break a line in
// a path: after its first slash, at a hyphen or a dot of a name. So a box
// breaks its lines itself, only at blanks, and is made as wide as its widest
// line: what it shows, and what a user copies from it, is the text as given
// with some of its blanks turned into line breaks.

// The text with each blank before a word that would reach past width turned
// into a line break. A word wider than width has a line of its own.
QString BrokenAtBlanks(const QString& text, const QFontMetricsF& metrics, qreal width);

// The width a box breaks its text at: usual, or the widest word where that
// is wider, up to most, so that a long path keeps its line whole where the
// screen has room for it.
qreal BreakingWidth(const QString& text, const QFontMetricsF& metrics, qreal usual, qreal most);

// Whole pixels across the widest line, so that a label as wide lays no line
// out on two.
int WidestLine(const QString& text, const QFontMetricsF& metrics);
