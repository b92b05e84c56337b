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

using CheckMember = CheckBoxControl* BotConfigPage::*;

// A switch of the bot. A line can only move it away from its reset value, so
// the order of the lines does not matter and a later line never undoes an
// earlier one. The writer names it only when it differs from the reset value,
// unless it is always written.
struct BotOption {
    const char* key;
    CheckMember box;
    bool checkedAfterReset;
    bool alwaysWritten;
};

// In the order the writer puts them.
constexpr std::array<BotOption, 9> BotOptions{{
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

const QString LoadBotKey = QStringLiteral("loadbot");
const QString MinBotsKey = QStringLiteral("min_bots");
const QString MaxBotsKey = QStringLiteral("max_bots");

const BotOption* FindOption(const QString& key)
{
    for (const BotOption& option : BotOptions) {
        if (key == QLatin1String(option.key))
            return &option;
    }
    return nullptr;
}

void CheckRosterEntry(CheckList& roster, std::int32_t number)
{
    if (number >= 1 && number <= roster.EntryCount())
        roster.SetEntryChecked(number - 1, true);
}

// The field for a bot count key, or none.
TextField* BotCountField(BotConfigPage& page, const QString& key)
{
    if (key == MinBotsKey)
        return page.MinBots;
    if (key == MaxBotsKey)
        return page.MaxBots;
    return nullptr;
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

void ApplyValue(BotConfigPage& page, const QString& key, std::int32_t value)
{
    if (key == LoadBotKey) {
        CheckRosterEntry(*page.BotCheckList, value);
    } else if (const BotOption* option = FindOption(key)) {
        if ((value != 0) != option->checkedAfterReset)
            (page.*option->box)->SetChecked(!option->checkedAfterReset);
    }
}

void AddRoster(QStringList& lines, const CheckList& roster)
{
    for (int index = 0; index < roster.EntryCount(); ++index) {
        if (roster.IsEntryChecked(index))
            lines << LoadBotKey + QLatin1Char(' ') + IntegerToText(index + 1);
    }
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

QString WithoutTrailingBlanks(QString text)
{
    qsizetype length = text.size();
    while (length > 0 && IsBlank(text.at(length - 1)))
        --length;
    text.truncate(length);
    return text;
}

} // namespace

void ResetBotConfig(BotConfigPage& page)
{
    for (int index = 0; index < page.BotCheckList->EntryCount(); ++index)
        page.BotCheckList->SetEntryChecked(index, false);
    for (const BotOption& option : BotOptions)
        (page.*option.box)->SetChecked(option.checkedAfterReset);
}

bool IsBotConfigComment(const QString& line)
{
    return line.isEmpty() || line.front() == QLatin1Char('#')
           || line.startsWith(QLatin1String("//"));
}

std::optional<BotConfigCommand> CommandOfLine(const QString& line)
{
    if (IsBotConfigComment(line))
        return std::nullopt;
    const qsizetype separator = QStringView(line).first(line.size() - 1).indexOf(QLatin1Char(' '));
    if (separator < 0)
        return std::nullopt;
    return BotConfigCommand{line.left(separator), WithoutTrailingBlanks(line.mid(separator + 1))};
}

int FixedOrderOf(const QString& key)
{
    if (key == LoadBotKey)
        return 0;
    for (std::size_t index = 0; index < BotOptions.size(); ++index) {
        if (key == QLatin1String(BotOptions[index].key))
            return int(index) + 1;
    }
    if (key == MinBotsKey)
        return int(BotOptions.size()) + 1;
    if (key == MaxBotsKey)
        return int(BotOptions.size()) + 2;
    return -1;
}

bool IsBotCountKey(const QString& key)
{
    return key == MinBotsKey || key == MaxBotsKey;
}

bool IsAlwaysWritten(const QString& key)
{
    const BotOption* option = FindOption(key);
    return IsBotCountKey(key) || (option != nullptr && option->alwaysWritten);
}

void ReadBotConfig(LineFile& file, BotConfigPage& page)
{
    while (!AtEndOfFile(file))
        ApplyBotConfigLine(page, ReadTextLine(file));
}

// A line of a key the page does not know belongs to the user, whatever its
// value ("map de_dust2"); only the page's own keys must carry integers.
void ApplyBotConfigLine(BotConfigPage& page, const QString& line)
{
    const std::optional<BotConfigCommand> command = CommandOfLine(line);
    if (!command || !command->HasValue())
        return;
    if (TextField* field = BotCountField(page, command->key))
        field->SetText(BotCountText(command->value));
    else if (FixedOrderOf(command->key) >= 0)
        ApplyValue(page, command->key, TextToInteger(command->value));
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
    lines << MinBotsKey + QLatin1Char(' ') + page.MinBots->Text()
          << MaxBotsKey + QLatin1Char(' ') + page.MaxBots->Text();
    return lines;
}

void WriteBotConfig(LineFile& file, const BotConfigPage& page)
{
    for (const QString& line : BotConfigLines(page))
        WriteTextLine(file, line);
}
