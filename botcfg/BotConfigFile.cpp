#include "BotConfigFile.h"

#include "BotConfigPage.h"
#include "CheckBoxControl.h"
#include "CheckList.h"
#include "Conversions.h"
#include "Exceptions.h"
#include "LineFile.h"
#include "TextField.h"

#include <array>

namespace {

const QString LoadBotKey = QStringLiteral("loadbot");

// A table's keys with their lengths counted once: every line a load or a
// merge meets is compared with each of them, most by their length alone.
template <typename Entry, std::size_t Count>
std::array<QLatin1String, Count> KeysOf(const std::array<Entry, Count>& table)
{
    std::array<QLatin1String, Count> keys;
    for (std::size_t index = 0; index < Count; ++index)
        keys[index] = QLatin1String(table[index].key);
    return keys;
}

template <typename Entry, std::size_t Count>
const Entry* FindByKey(const std::array<Entry, Count>& table,
                       const std::array<QLatin1String, Count>& keys, const QString& key)
{
    for (std::size_t index = 0; index < Count; ++index) {
        if (key.size() == keys[index].size() && key == keys[index])
            return &table[index];
    }
    return nullptr;
}

const BotOption* FindOption(const QString& key)
{
    static const auto keys = KeysOf(BotOptions);
    return FindByKey(BotOptions, keys, key);
}

const BotCount* FindBotCount(const QString& key)
{
    static const auto keys = KeysOf(BotCounts);
    return FindByKey(BotCounts, keys, key);
}

void CheckRosterEntry(CheckList& roster, std::int32_t number)
{
    if (number >= 1 && number <= roster.EntryCount())
        roster.SetEntryChecked(number - 1, true);
}

// The fields are written as typed, so a count that is no number must load
// back as it stands: otherwise one typed letter would stop every later load.
QString BotCountText(const QString& value)
{
    try {
        return IntegerToText(TextToInteger(value));
    } catch (const EConvertError&) {
        return value;
    }
}

BotConfigLineEffect EffectOfValue(const QString& key, std::int32_t value)
{
    if (key == LoadBotKey)
        return RosterEntryLine{value};
    const BotOption* option = FindOption(key);
    if (option != nullptr && (value != 0) != option->checkedAfterReset)
        return OptionLine{option};
    return std::monostate();
}

void AddRoster(QStringList& lines, const CheckList& roster)
{
    for (const int index : roster.CheckedEntries())
        lines << LoadBotKey + QLatin1Char(' ') + IntegerToText(index + 1);
}

void AddOptions(QStringList& lines, const BotConfigPage& page)
{
    for (const BotOption& option : BotOptions) {
        const bool checked = (page.*option.box)->Checked();
        if (option.alwaysWritten || checked != option.checkedAfterReset)
            lines << QLatin1String(option.key) + (checked ? QLatin1String(" 1")
                                                          : QLatin1String(" 0"));
    }
}

bool IsBlank(QChar character)
{
    return character == QLatin1Char(' ') || character == QLatin1Char('\t');
}

// Where the reader finds a line's key and value, as the game's console does:
// blanks before the key and between key and value are passed over, a "//"
// outside double quotes begins a comment, and blanks that end the value are
// no part of it. A line's first text may begin with "#": a comment too.
struct LineParts {
    qsizetype keyStart = 0;
    qsizetype keyEnd = 0;
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
};

qsizetype CommentStart(const QString& line)
{
    bool quoted = false;
    for (qsizetype index = 0; index < line.size(); ++index) {
        if (line.at(index) == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && QStringView(line).sliced(index).startsWith(QLatin1String("//")))
            return index;
    }
    return line.size();
}

qsizetype SkipBlanks(const QString& line, qsizetype from, qsizetype end)
{
    while (from < end && IsBlank(line.at(from)))
        ++from;
    return from;
}

std::optional<LineParts> PartsOf(const QString& line)
{
    qsizetype end = CommentStart(line);
    LineParts parts;
    parts.keyStart = SkipBlanks(line, 0, end);
    if (parts.keyStart == end || line.at(parts.keyStart) == QLatin1Char('#'))
        return std::nullopt;
    parts.keyEnd = parts.keyStart;
    while (parts.keyEnd < end && !IsBlank(line.at(parts.keyEnd)))
        ++parts.keyEnd;
    while (end > parts.keyEnd && IsBlank(line.at(end - 1)))
        --end;
    parts.valueStart = SkipBlanks(line, parts.keyEnd, end);
    parts.valueEnd = end;
    return parts;
}

} // namespace

const std::array<BotOption, 9> BotOptions{{
    {"disco", &BotConfigPage::DiscoModeCheckBox, false, false},
    {"knifemode", &BotConfigPage::KnifeModeCheckBox, false, false},
    {"pistolmode", &BotConfigPage::PistolModeCheckBox, false, false},
    {"observer", &BotConfigPage::ObserverModeCheckBox, false, false},
    {"usegrenades", &BotConfigPage::UseGrenadeCheckBox, true, false},
    {"botchat", &BotConfigPage::BotsCanChatCheckBox, true, false},
    {"botdontshoot", &BotConfigPage::BotsDontShootCheckBox, false, false},
    {"mp_autoteambalance", &BotConfigPage::AutoTeamBalanceCheckBox, false, true},
    {"onlinemode", &BotConfigPage::OnlineModeCheckBox, true, false},
}};

const std::array<BotCount, 2> BotCounts{{
    {"min_bots", &BotConfigPage::MinBots},
    {"max_bots", &BotConfigPage::MaxBots},
}};

void ResetBotConfig(BotConfigPage& page)
{
    for (int index = 0; index < page.BotCheckList->EntryCount(); ++index)
        page.BotCheckList->SetEntryChecked(index, false);
    for (const BotOption& option : BotOptions)
        (page.*option.box)->SetChecked(option.checkedAfterReset);
}

std::optional<BotConfigCommand> CommandOfLine(const QString& line)
{
    const std::optional<LineParts> parts = PartsOf(line);
    if (!parts)
        return std::nullopt;
    return BotConfigCommand{line.sliced(parts->keyStart, parts->keyEnd - parts->keyStart),
                            line.sliced(parts->valueStart, parts->valueEnd - parts->valueStart)};
}

std::optional<QString> KeyOfLine(const QString& line)
{
    const std::optional<BotConfigCommand> command = CommandOfLine(line);
    return command ? std::optional<QString>(command->key) : std::nullopt;
}

std::optional<QString> WithValue(const QString& line, const QString& value)
{
    const std::optional<LineParts> parts = PartsOf(line);
    if (!parts)
        return std::nullopt;
    if (parts->valueStart < parts->valueEnd)
        return line.left(parts->valueStart) + value + line.sliced(parts->valueEnd);
    // A key without a value keeps its comment, after the value it is given.
    if (CommentStart(line) == line.size())
        return std::nullopt;
    return line.left(parts->keyEnd) + QLatin1Char(' ') + value + line.sliced(parts->keyEnd);
}

int FixedOrderOf(const QString& key)
{
    if (key == LoadBotKey)
        return 0;
    if (const BotOption* option = FindOption(key))
        return int(option - BotOptions.data()) + 1;
    if (const BotCount* count = FindBotCount(key))
        return int(BotOptions.size() + std::size_t(count - BotCounts.data())) + 1;
    return -1;
}

bool IsBotCountKey(const QString& key)
{
    return FindBotCount(key) != nullptr;
}

bool IsAlwaysWritten(const QString& key)
{
    const BotOption* option = FindOption(key);
    return IsBotCountKey(key) || (option != nullptr && option->alwaysWritten);
}

void ReadBotConfig(LineFile& file, BotConfigPage& page, LineReached& reached)
{
    while (!AtEndOfFile(file)) {
        reached = {reached.number + 1, ReadTextLine(file)};
        ApplyBotConfigLine(page, reached.text);
    }
}

// A line of a key the page does not know belongs to the user, whatever its
// value ("map de_dust2"); only the page's own keys must carry integers.
BotConfigLineEffect EffectOfLine(const QString& line)
{
    const std::optional<BotConfigCommand> command = CommandOfLine(line);
    if (!command || !command->HasValue())
        return std::monostate();
    if (const BotCount* count = FindBotCount(command->key))
        return BotCountLine{count, BotCountText(command->value)};
    if (FixedOrderOf(command->key) >= 0)
        return EffectOfValue(command->key, TextToInteger(command->value));
    return std::monostate();
}

void ApplyBotConfigLine(BotConfigPage& page, const QString& line)
{
    const BotConfigLineEffect effect = EffectOfLine(line);
    if (const auto* entry = std::get_if<RosterEntryLine>(&effect))
        CheckRosterEntry(*page.BotCheckList, entry->number);
    else if (const auto* option = std::get_if<OptionLine>(&effect))
        (page.*option->option->box)->SetChecked(!option->option->checkedAfterReset);
    else if (const auto* count = std::get_if<BotCountLine>(&effect))
        (page.*count->count->field)->SetText(count->text);
}

QStringList BotConfigLines(const BotConfigPage& page)
{
    QStringList lines{
        QStringLiteral("# Tavrik by Dravenholt"),
        QStringLiteral(
            "# This bot.cfg file was generated automatically by the Tavrik Control Centre v1.0"),
        QStringLiteral("pause 3")};
    AddRoster(lines, *page.BotCheckList);
    AddOptions(lines, page);
    for (const BotCount& count : BotCounts)
        lines << QLatin1String(count.key) + QLatin1Char(' ') + (page.*count.field)->Text();
    return lines;
}

void WriteBotConfig(LineFile& file, const BotConfigPage& page)
{
    for (const QString& line : BotConfigLines(page))
        WriteTextLine(file, line);
}
