#include "PersonalityMerge.h"

#include "LineLayout.h"
#include "PersonalityRecords.h"

std::optional<QString> MergePersonality(const QByteArray& content, const QStringList& before,
                                        const QStringList& after, LineEnds ends)
{
    LineLayout layout(content);
    const QStringList lines = layout.Texts();
    const std::optional<qsizetype> start = LastRecordStart(lines);
    if (!start || before.size() != after.size())
        return std::nullopt;
    const bool hasTeamLine = RecordLength(lines, *start) > FieldLines;
    for (qsizetype field = 0; field < after.size(); ++field) {
        if (before.at(field) == after.at(field))
            continue;
        if (field < FieldLines || hasTeamLine)
            layout.Replace(*start + field, after.at(field));
        else
            layout.Insert(*start + FieldLines, after.at(field), ends);
    }
    return layout.Content();
}
