#include "BoxLines.h"

#include <QFontMetricsF>
#include <QStringList>

#include <cmath>

namespace {

QString BrokenLine(const QString& line, const QFontMetricsF& metrics, qreal width)
{
    const QStringList words = line.split(u' ');
    QString broken = words.first();
    qsizetype lineStart = 0;
    for (qsizetype at = 1; at < words.size(); ++at) {
        const QString joined = broken.mid(lineStart) + u' ' + words[at];
        const bool fits = metrics.horizontalAdvance(joined) <= width;
        if (!fits)
            lineStart = broken.size() + 1;
        broken += (fits ? u' ' : u'\n') + words[at];
    }
    return broken;
}

} // namespace

QString BrokenAtBlanks(const QString& text, const QFontMetricsF& metrics, qreal width)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line = BrokenLine(line, metrics, width);
    return lines.join(u'\n');
}

qreal BreakingWidth(const QString& text, const QFontMetricsF& metrics, qreal usual, qreal most)
{
    qreal widest = usual;
    for (const QString& word : QString(text).replace(u'\n', u' ').split(u' '))
        widest = qMax(widest, metrics.horizontalAdvance(word));
    return qMin(widest, most);
}

int WidestLine(const QString& text, const QFontMetricsF& metrics)
{
    qreal widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return static_cast<int>(std::ceil(widest));
}
