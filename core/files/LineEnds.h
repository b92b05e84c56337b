#pragma once

#include <QByteArrayView>

#include <optional>

// How a file's lines end. A line read ends at CR LF, at a CR alone or at an
// LF alone; a file is written back with the line ends it was read with, so a
// file edited on Linux keeps its LF line ends and one from Windows its CR LF.
enum class LineEnds { CrLf, LfAlone };

// LfAlone when every line end before the end of the data (its first Ctrl-Z)
// is an LF alone, CrLf when any is not, none when there is no line end.
std::optional<LineEnds> LineEndsOf(QByteArrayView bytes);

// The bytes that end a line written in this style.
QByteArrayView LineEndBytes(LineEnds ends);
