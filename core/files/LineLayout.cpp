#include "LineLayout.h"

#include "Bytes.h"

// Cut as a reading cuts: at CR LF, at a CR alone and at an LF alone, up to
// the first Ctrl-Z.
LineLayout::LineLayout(const QByteArray& content)
{
    qsizetype end = content.indexOf('\x1a');
    if (end < 0)
        end = content.size();
    afterEnd_ = BytesToText(QByteArrayView(content).sliced(end));
    qsizetype position = 0;
    while (position < end) {
        qsizetype lineEnd = position;
        while (lineEnd < end && content.at(lineEnd) != '\r' && content.at(lineEnd) != '\n')
            ++lineEnd;
        qsizetype next = lineEnd;
        if (next < end) {
            ++next;
            if (content.at(lineEnd) == '\r' && next < end && content.at(next) == '\n')
                ++next;
        }
        lines_.append({BytesToText(QByteArrayView(content).sliced(position, lineEnd - position)),
                       BytesToText(QByteArrayView(content).sliced(lineEnd, next - lineEnd))});
        position = next;
    }
}

QString LineLayout::Text(qsizetype line) const
{
    return lines_.at(line).text;
}

QStringList LineLayout::Texts() const
{
    QStringList texts;
    texts.reserve(lines_.size());
    for (const Line& line : lines_)
        texts << line.text;
    return texts;
}

void LineLayout::Replace(qsizetype line, const QString& text)
{
    lines_[line].text = text;
}

void LineLayout::Remove(qsizetype line)
{
    lines_.removeAt(line);
}

void LineLayout::Insert(qsizetype before, const QString& text, LineEnds ends)
{
    const QString end = BytesToText(LineEndBytes(ends));
    if (before == lines_.size() && !lines_.isEmpty() && lines_.last().end.isEmpty())
        lines_.last().end = end;
    lines_.insert(before, {text, end});
}

// A lone CR followed by an LF reads as one line end. Where a change puts an
// empty line ending in an LF alone right after a line ending in a lone CR (a
// field emptied, a line between them removed), that line would vanish and
// every line after it move up one; its line end takes the file's style
// instead, which a lone CR makes CR LF (LineEndsOf).
QString LineLayout::Content() const
{
    const QString crLf = BytesToText(LineEndBytes(LineEnds::CrLf));
    QString content;
    QStringView endBefore;
    for (const Line& line : lines_) {
        const bool wouldJoin = endBefore == u"\r" && line.text.isEmpty() && line.end == u"\n";
        content += line.text + (wouldJoin ? crLf : line.end);
        endBefore = line.end;
    }
    return content + afterEnd_;
}

QByteArray FormOfLines(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n')).toUtf8();
}

QStringList LinesOfForm(const QByteArray& form)
{
    return QString::fromUtf8(form).split(QLatin1Char('\n'));
}
