#include "BotConfigChanges.h"

#include "BotConfigFile.h"
#include "BotConfigPage.h"
#include "Conversions.h"
#include "DifferenceSummary.h"
#include "Exceptions.h"
#include "LineDifference.h"
#include "LineLayout.h"

#include <set>

namespace {

// What a version of the file sets, from the reset values on, and the lines
// that set nothing the page owns.
struct Settings {
    std::set<std::int32_t> roster;
    std::array<bool, BotOptions.size()> options{};
    std::array<std::optional<QString>, BotCounts.size()> counts;
    QStringList otherLines;
};

// Roster entries are numbered from 1; the page takes no other number.
void Apply(Settings& settings, const BotConfigLineEffect& effect)
{
    if (const auto* entry = std::get_if<RosterEntryLine>(&effect)) {
        if (entry->number >= 1)
            settings.roster.insert(entry->number);
    } else if (const auto* option = std::get_if<OptionLine>(&effect)) {
        settings.options[std::size_t(option->option - BotOptions.data())] =
            !option->option->checkedAfterReset;
    } else if (const auto* count = std::get_if<BotCountLine>(&effect)) {
        settings.counts[std::size_t(count->count - BotCounts.data())] = count->text;
    }
}

bool IsPageLine(const QString& line)
{
    const std::optional<QString> key = KeyOfLine(line);
    return key && FixedOrderOf(*key) >= 0;
}

// None when the page's reader refuses the file.
std::optional<Settings> SettingsOf(const QStringList& lines)
{
    Settings settings;
    for (std::size_t index = 0; index < BotOptions.size(); ++index)
        settings.options[index] = BotOptions[index].checkedAfterReset;
    try {
        for (const QString& line : lines) {
            if (IsPageLine(line))
                Apply(settings, EffectOfLine(line));
            else
                settings.otherLines << line;
        }
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    return settings;
}

// A row of the difference with its part of the summary.
struct Change {
    DifferenceRow row;
    QString part;
};

QString OnOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

void AddOptions(QList<Change>& changes, const Settings& was, const Settings& now)
{
    for (std::size_t index = 0; index < BotOptions.size(); ++index) {
        if (was.options[index] == now.options[index])
            continue;
        const QString name = SettingName(CheckBoxCaption(BotOptions[index].box));
        const QString state = OnOff(now.options[index]);
        changes << Change{{name, OnOff(was.options[index]), state}, name + QLatin1Char(' ') + state};
    }
}

void AddRoster(QList<Change>& changes, const Settings& was, const Settings& now,
               const std::function<QString(int)>& botName)
{
    std::set<std::int32_t> numbers = was.roster;
    numbers.insert(now.roster.begin(), now.roster.end());
    for (std::int32_t number : numbers) {
        const bool joins = now.roster.count(number) != 0;
        if (joins == (was.roster.count(number) != 0))
            continue;
        QString name = botName(number);
        if (name.isEmpty())
            name = QStringLiteral("personality ") + IntegerToText(number);
        const QString line = QStringLiteral("loadbot ") + IntegerToText(number);
        DifferenceRow row{name, line, line};
        (joins ? row.before : row.after).reset();
        changes << Change{row, ShownValue(name) + (joins ? QStringLiteral(" joins (")
                                                         : QStringLiteral(" leaves ("))
                                   + line + QLatin1Char(')')};
    }
}

void AddCounts(QList<Change>& changes, const Settings& was, const Settings& now)
{
    for (std::size_t index = 0; index < BotCounts.size(); ++index) {
        if (was.counts[index] == now.counts[index])
            continue;
        const DifferenceRow row{SettingName(NumberFieldCaption(BotCounts[index].field)),
                                was.counts[index], now.counts[index]};
        changes << Change{row, ChangePart(row)};
    }
}

QList<Change> SettingChanges(const Settings& was, const Settings& now,
                             const std::function<QString(int)>& botName)
{
    QList<Change> changes;
    AddOptions(changes, was, now);
    AddRoster(changes, was, now, botName);
    AddCounts(changes, was, now);
    return changes;
}

// The changes in the page's terms and the lines besides them; or, when a
// version does not load, every line, with no changes.
struct Comparison {
    QList<Change> changes;
    Difference lines;
    QString lineNoun;
};

Comparison Compare(const QByteArray& before, const QByteArray& after,
                   const std::function<QString(int)>& botName)
{
    const QStringList beforeLines = LineLayout(before).Texts();
    const QStringList afterLines = LineLayout(after).Texts();
    const std::optional<Settings> was = SettingsOf(beforeLines);
    const std::optional<Settings> now = SettingsOf(afterLines);
    if (!was || !now)
        return {{}, LineDifference(beforeLines, afterLines), QStringLiteral("line")};
    return {SettingChanges(*was, *now, botName), LineDifference(was->otherLines, now->otherLines),
            QStringLiteral("other line")};
}

} // namespace

Difference BotConfigDifference(const QByteArray& before, const QByteArray& after,
                               const std::function<QString(int)>& botName)
{
    const Comparison comparison = Compare(before, after, botName);
    Difference rows;
    for (const Change& change : comparison.changes)
        rows.push_back(change.row);
    rows.insert(rows.end(), comparison.lines.begin(), comparison.lines.end());
    return rows;
}

QString BotConfigChangeSummary(const QByteArray& before, const QByteArray& after,
                               const std::function<QString(int)>& botName)
{
    const Comparison comparison = Compare(before, after, botName);
    QStringList parts;
    for (const Change& change : comparison.changes)
        parts << change.part;
    const QString lines = LineCountsPart(comparison.lines, comparison.lineNoun);
    if (!lines.isEmpty())
        parts << lines;
    return Summary(before, after, parts);
}
