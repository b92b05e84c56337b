#include "BotConfigMerge.h"

#include "BotConfigFile.h"
#include "Conversions.h"
#include "Exceptions.h"
#include "LineLayout.h"

#include <limits>
#include <optional>

namespace {

// A line of the fixed form: its key and its value as written.
struct FixedLine {
    QString key;
    QString value;
    QString text;
};

FixedLine FixedLineOf(const QString& text)
{
    const qsizetype separator = text.indexOf(QLatin1Char(' '));
    return {text.left(separator), text.mid(separator + 1), text};
}

QList<FixedLine> OwnLines(const QStringList& form)
{
    QList<FixedLine> own;
    for (const QString& text : form) {
        FixedLine line = FixedLineOf(text);
        if (FixedOrderOf(line.key) >= 0)
            own << line;
    }
    return own;
}

std::optional<std::int32_t> IntegerOf(const QString& value)
{
    try {
        return TextToInteger(value);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

// Whether a line of the file sets what the fixed line stands for: the same
// roster entry, or the option away from its usual value the same way.
bool SetsTheSame(const QString& line, const FixedLine& fixed)
{
    const std::optional<BotConfigCommand> command = CommandOfLine(line);
    if (!command || command->key != fixed.key)
        return false;
    const std::optional<std::int32_t> value = IntegerOf(command->value);
    const std::int32_t fixedValue = TextToInteger(fixed.value);
    if (!value)
        return false;
    return FixedOrderOf(fixed.key) == 0 ? *value == fixedValue
                                        : (*value != 0) == (fixedValue != 0);
}

// "loadbot" lines follow one another by number; a number that is none
// stands last.
std::int32_t RosterNumberOf(const QString& line)
{
    const std::optional<BotConfigCommand> command = CommandOfLine(line);
    return command ? IntegerOf(command->value).value_or(std::numeric_limits<std::int32_t>::max())
                   : std::numeric_limits<std::int32_t>::max();
}

qsizetype PlaceFor(const LineLayout& layout, const FixedLine& fixed)
{
    const int order = FixedOrderOf(fixed.key);
    const std::int32_t number = order == 0 ? TextToInteger(fixed.value) : 0;
    qsizetype after = -1;
    qsizetype before = -1;
    for (qsizetype index = 0; index < layout.Count(); ++index) {
        const std::optional<QString> key = KeyOfLine(layout.Text(index));
        const int lineOrder = key ? FixedOrderOf(*key) : -1;
        if (lineOrder < 0)
            continue;
        const bool precedes = lineOrder < order
                              || (lineOrder == order
                                  && (order != 0 || RosterNumberOf(layout.Text(index)) < number));
        if (precedes)
            after = index;
        else if (before < 0)
            before = index;
    }
    return after >= 0 ? after + 1 : before >= 0 ? before : layout.Count();
}

void Add(LineLayout& layout, const FixedLine& fixed, LineEnds ends)
{
    layout.Insert(PlaceFor(layout, fixed), fixed.text, ends);
}

void RemoveEverySetting(LineLayout& layout, const FixedLine& fixed)
{
    for (qsizetype index = layout.Count() - 1; index >= 0; --index) {
        if (SetsTheSame(layout.Text(index), fixed))
            layout.Remove(index);
    }
}

// Whether an earlier line of the key would still decide the setting once
// the last one holds the new line: a team balance line that switches it on
// (any line away from 0 does) when it goes off, and any bot count at all
// when the new one holds no value.
bool StillDecides(const QString& line, const FixedLine& now)
{
    const std::optional<BotConfigCommand> command = CommandOfLine(line);
    if (!command || command->key != now.key || !command->HasValue())
        return false;
    if (IsBotCountKey(now.key)) {
        const std::optional<BotConfigCommand> written = CommandOfLine(now.text);
        return !written || !written->HasValue();
    }
    const std::optional<std::int32_t> value = IntegerOf(command->value);
    return value && *value != 0 && TextToInteger(now.value) == 0;
}

// The user's blanks and comment stay around the new value, where it reads
// back as the page wrote it: a value typed with a quote would hide the
// comment behind it.
QString ChangedLine(const QString& line, const FixedLine& now)
{
    const std::optional<QString> changed = WithValue(line, now.value);
    if (changed && CommandOfLine(*changed)->value == CommandOfLine(now.text)->value)
        return *changed;
    return now.text;
}

void Replace(LineLayout& layout, const FixedLine& now, LineEnds ends)
{
    qsizetype last = -1;
    for (qsizetype index = 0; index < layout.Count(); ++index) {
        if (KeyOfLine(layout.Text(index)) == now.key)
            last = index;
    }
    if (last < 0) {
        Add(layout, now, ends);
        return;
    }
    layout.Replace(last, ChangedLine(layout.Text(last), now));
    for (qsizetype index = last - 1; index >= 0; --index) {
        if (StillDecides(layout.Text(index), now))
            layout.Remove(index);
    }
}

// Whether a line of the file sets it already: another program (a second
// copy of the editor) made the change the user keeps, which a second line
// would make twice (a bot that joins twice).
bool SetInFile(const LineLayout& layout, const FixedLine& fixed)
{
    for (qsizetype index = 0; index < layout.Count(); ++index) {
        if (SetsTheSame(layout.Text(index), fixed))
            return true;
    }
    return false;
}

bool Holds(const QList<FixedLine>& lines, const FixedLine& line)
{
    for (const FixedLine& other : lines) {
        if (other.text == line.text)
            return true;
    }
    return false;
}

} // namespace

QString MergeBotConfig(const QByteArray& content, const QStringList& before,
                       const QStringList& after, LineEnds ends)
{
    LineLayout layout(content);
    const QList<FixedLine> was = OwnLines(before);
    const QList<FixedLine> now = OwnLines(after);
    for (const FixedLine& line : now) {
        if (IsAlwaysWritten(line.key) && !Holds(was, line))
            Replace(layout, line, ends);
    }
    for (const FixedLine& line : was) {
        if (!IsAlwaysWritten(line.key) && !Holds(now, line))
            RemoveEverySetting(layout, line);
    }
    for (const FixedLine& line : now) {
        if (!IsAlwaysWritten(line.key) && !Holds(was, line) && !SetInFile(layout, line))
            Add(layout, line, ends);
    }
    return layout.Content();
}
