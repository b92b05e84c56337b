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

std::optional<qsizetype> LastRecordStart(const QStringList& lines)
{
    if (OnlyBlankFrom(lines, 0))
        return std::nullopt;
    qsizetype start = 0;
    for (;;) {
        if (start + FieldLines > lines.size())
            return std::nullopt;
        const qsizetype next = start + RecordLength(lines, start);
        if (OnlyBlankFrom(lines, next))
            return start;
        start = next;
    }
}
