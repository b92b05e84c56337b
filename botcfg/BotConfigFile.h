#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <variant>

class CheckBoxControl;
class LineFile;
class TextField;
struct BotConfigPage;

// The bot start script as the page holds it. The reader takes any file the
// bot takes: comments, empty lines and lines of keys the page does not know
// are passed over. The page's own form of its settings is the one fixed form
// below, which a file the page creates holds; a save into a file that exists
// changes only the lines of the settings the user changed (BotConfigMerge.h).

// A line as the reader sees it: a command is a key and a value. Blanks
// (spaces and tabs) before the key and between key and value are passed
// over; a "//" outside double quotes begins a comment, as in the game's
// console, and blanks that end the value are no part of it. A value of
// blanks alone, or none, is no value.
struct BotConfigCommand {
    QString key;
    QString value;
    bool HasValue() const { return !value.isEmpty(); }
};

// A switch of the bot. A line can only move it away from its reset value, so
// the order of the lines does not matter and a later line never undoes an
// earlier one. The writer names it only when it differs from the reset value,
// unless it is always written.
struct BotOption {
    const char* key;
    CheckBoxControl* BotConfigPage::*box;
    bool checkedAfterReset;
    bool alwaysWritten;
};
// In the order the writer puts them.
extern const std::array<BotOption, 9> BotOptions;

// The two bot counts, minimum first, which the page shows as text: the last
// line of each decides.
struct BotCount {
    const char* key;
    TextField* BotConfigPage::*field;
};
extern const std::array<BotCount, 2> BotCounts;

// None for a comment: a line that holds nothing but blanks before its "//"
// comment, or whose first text begins with "#". A key alone has an empty
// value.
std::optional<BotConfigCommand> CommandOfLine(const QString& line);
// The key of a line that is no comment, whether a value follows or not.
std::optional<QString> KeyOfLine(const QString& line);
// The line with its value replaced, its blanks and comment as they were; a
// line of a key and a comment gets the value after the key, a blank between;
// none for a line of a key alone.
std::optional<QString> WithValue(const QString& line, const QString& value);

// What one line sets, as the reader takes it: a roster entry checked (the
// number as the line gives it, whether the roster has that entry or not), a
// switch moved away from its reset value, a bot count's text; or nothing.
struct RosterEntryLine {
    std::int32_t number;
};
struct OptionLine {
    const BotOption* option;
};
struct BotCountLine {
    const BotCount* count;
    QString text;
};
using BotConfigLineEffect = std::variant<std::monostate, RosterEntryLine, OptionLine, BotCountLine>;
// A value of one of the page's keys that is not an integer (other than a
// bot count's) raises EConvertError.
BotConfigLineEffect EffectOfLine(const QString& line);

// The page's own keys by their place in the fixed form ("loadbot" first,
// "max_bots" last); -1 for any other key.
int FixedOrderOf(const QString& key);
// Whether the fixed form holds the key's line whatever the setting.
bool IsAlwaysWritten(const QString& key);
// "min_bots" and "max_bots", whose values the page shows as text.
bool IsBotCountKey(const QString& key);

// The settings a file without option lines stands for: no roster entry
// checked, the options at their usual values. The two number fields keep
// their text.
void ResetBotConfig(BotConfigPage& page);

// The line a read has come to: its number, from 1, and its text.
struct LineReached {
    qsizetype number = 0;
    QString text;
};

// Applies every line of the file to the page, from the reset values on. A
// value of one of the page's keys that is not an integer (other than a bot
// count's) ends the read with EConvertError; the lines before it have taken
// effect, and reached is the line that stopped it.
void ReadBotConfig(LineFile& file, BotConfigPage& page, LineReached& reached);

// One line's effect: a comment, a line without a value and a key the page
// does not know have none; a bot count
// that is no integer shows as it stands.
void ApplyBotConfigLine(BotConfigPage& page, const QString& line);

// The fixed form: the header, a "loadbot" line per checked roster entry, the
// options that differ from their reset values, the team balance always, and
// the two number fields exactly as typed.
QStringList BotConfigLines(const BotConfigPage& page);
void WriteBotConfig(LineFile& file, const BotConfigPage& page);
