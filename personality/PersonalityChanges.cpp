#include "PersonalityChanges.h"

#include "Conversions.h"
#include "DifferenceSummary.h"
#include "Exceptions.h"
#include "LineDifference.h"
#include "LineLayout.h"
#include "PersonalityFile.h"
#include "PersonalityRecords.h"

namespace {

bool HoldsText(const PersonalityField& field)
{
    return std::holds_alternative<TextField * PersonalityPage::*>(field);
}

// Every line the page's reader converts, those of each record and not the
// last one's alone, since a failure in any of them ends the load.
bool NumbersConvert(const QStringList& lines, const QList<qsizetype>& starts)
{
    try {
        for (qsizetype start : starts) {
            for (qsizetype field = 0; field < FieldLines; ++field) {
                if (!HoldsText(Personality[field]))
                    TextToInteger(lines.at(start + field));
            }
            if (RecordLength(lines, start) > FieldLines)
                TextToInteger(lines.at(start + FieldLines));
        }
    } catch (const EConvertError&) {
        return false;
    }
    return true;
}

// Where the record the page shows begins; none when the page cannot load
// the file.
std::optional<qsizetype> ShownRecord(const QStringList& lines)
{
    const QList<qsizetype> starts = RecordStarts(lines);
    if (starts.isEmpty() || !NumbersConvert(lines, starts))
        return std::nullopt;
    return starts.last();
}

QString NameOfLine(qsizetype line)
{
    if (line == FieldLines)
        return SettingName(PreferredTeamCaption());
    return SettingName(std::visit([](auto member) { return FieldCaption(member); }, Personality[line]));
}

std::optional<QString> LineOfRecord(const QStringList& lines, qsizetype start, qsizetype line)
{
    if (line == FieldLines && RecordLength(lines, start) == FieldLines)
        return std::nullopt;
    return lines.at(start + line);
}

Difference FieldDifference(const QStringList& before, qsizetype beforeStart,
                           const QStringList& after, qsizetype afterStart)
{
    Difference rows;
    for (qsizetype line = 0; line <= FieldLines; ++line) {
        const std::optional<QString> was = LineOfRecord(before, beforeStart, line);
        const std::optional<QString> now = LineOfRecord(after, afterStart, line);
        if (was != now)
            rows.push_back({NameOfLine(line), was, now});
    }
    return rows;
}

} // namespace

Difference PersonalityDifference(const QByteArray& before, const QByteArray& after)
{
    const QStringList beforeLines = LineLayout(before).Texts();
    const QStringList afterLines = LineLayout(after).Texts();
    const std::optional<qsizetype> beforeStart = ShownRecord(beforeLines);
    const std::optional<qsizetype> afterStart = ShownRecord(afterLines);
    if (!beforeStart || !afterStart)
        return LineDifference(beforeLines, afterLines);
    return FieldDifference(beforeLines, *beforeStart, afterLines, *afterStart);
}

QString PersonalityChangeSummary(const QByteArray& before, const QByteArray& after)
{
    const Difference rows = PersonalityDifference(before, after);
    QStringList parts;
    for (const DifferenceRow& row : rows) {
        if (!row.name.isEmpty())
            parts << ChangePart(row);
    }
    const QString lines = LineCountsPart(rows, QStringLiteral("line"));
    if (!lines.isEmpty())
        parts << lines;
    return Summary(before, after, parts);
}
