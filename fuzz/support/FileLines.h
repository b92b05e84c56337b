#pragma once

#include <QByteArray>
#include <QList>

// A file's bytes cut into lines by the reading rules, written apart from the
// program's own reader: a line ends at CR LF, at a CR alone or at an LF
// alone, and a Ctrl-Z ends what is read. Each line keeps the bytes that
// ended it (none for a last line without a line end), so that a save's
// bytes can be compared line by line with the file it changed.
struct FileLine {
    QByteArray text;
    QByteArray end;

    QByteArray Bytes() const { return text + end; }
    friend bool operator==(const FileLine&, const FileLine&) = default;
};

struct FileLines {
    QList<FileLine> lines;
    // The first Ctrl-Z and everything after it.
    QByteArray afterEnd;
};

FileLines LinesByTheRules(const QByteArray& bytes);
