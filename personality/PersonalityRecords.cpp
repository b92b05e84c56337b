#include "PersonalityRecords.h"

bool OnlyBlankFrom(const QStringList& lines, qsizetype from)
{
    for (qsizetype line = from; line < lines.size(); ++line) {
        for (QChar character : lines.at(line)) {
            if (character != QLatin1Char(' ') && character != QLatin1Char('\t'))
                return false;
        }
    }
    return true;
}

qsizetype RecordLength(const QStringList& lines, qsizetype start)
{
    return OnlyBlankFrom(lines, start + FieldLines) ? FieldLines : FieldLines + 1;
}

QList<qsizetype> RecordStarts(const QStringList& lines)
{
    QList<qsizetype> starts;
    for (qsizetype start = 0; !OnlyBlankFrom(lines, start); start += RecordLength(lines, start)) {
        if (start + FieldLines > lines.size())
            return {};
        starts << start;
    }
    return starts;
}

std::optional<qsizetype> LastRecordStart(const QStringList& lines)
{
    const QList<qsizetype> starts = RecordStarts(lines);
    if (starts.isEmpty())
        return std::nullopt;
    return starts.last();
}
