#pragma once

#include "LineEnds.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A file's content as the lines a reading gives, each with the bytes that
// ended it, and what follows its Ctrl-Z; so a save can change some lines and
// keep every other byte of the file where and as it was.
class LineLayout {
public:
    explicit LineLayout(const QByteArray& content);

    qsizetype Count() const { return lines_.size(); }
    // One byte per character, as a reading gives it.
    QString Text(qsizetype line) const;
    QStringList Texts() const;

    void Replace(qsizetype line, const QString& text);
    void Remove(qsizetype line);
    // A new line before the line given (Count(): after the last), ended with
    // these line ends; a last line that had no line end gets one first.
    void Insert(qsizetype before, const QString& text, LineEnds ends);

    // One byte per character, to be written as plain text; it reads back as
    // the lines the layout holds, in number and order, whatever line ends
    // the changes have put side by side.
    QString Content() const;

private:
    struct Line {
        QString text;
        QString end;
    };
    QList<Line> lines_;
    QString afterEnd_;
};

// A page's own form of what it shows, as lines that hold no line end, in
// the one piece SaveGuard keeps, and back.
QByteArray FormOfLines(const QStringList& lines);
QStringList LinesOfForm(const QByteArray& form);
