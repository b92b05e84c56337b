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

void WriteRoster(LineFile& file, const CheckList& roster)
{
    for (int index = 0; index < roster.EntryCount(); ++index) {
        if (roster.IsEntryChecked(index))
            WriteTextLine(file, LoadBotKey + QLatin1Char(' ') + IntegerToText(index + 1));
    }
}

void WriteOptions(LineFile& file, const BotConfigPage& page)
{
    for (const BotOption& option : BotOptions) {
        const bool checked = (page.*option.box)->Checked();
        if (option.alwaysWritten || checked != option.checkedAfterReset)
            WriteTextLine(file, QLatin1String(option.key) + (checked ? QLatin1String(" 1")
                                                                     : QLatin1String(" 0")));
    }
}

} // namespace

void ResetBotConfig(BotConfigPage& page)
{
    for (int index = 0; index < page.BotCheckList->EntryCount(); ++index)
        page.BotCheckList->SetEntryChecked(index, false);
    for (const BotOption& option : BotOptions)
        (page.*option.box)->SetChecked(option.checkedAfterReset);
}

void ReadBotConfig(LineFile& file, BotConfigPage& page)
{
    while (!AtEndOfFile(file))
        ApplyBotConfigLine(page, ReadTextLine(file));
}

// Only a space separates, and never the line's last character: "disco " is
// skipped like "disco". Apart from the bot counts, the value is converted
// before the key is looked at, so every command line must carry an integer,
// known key or not.
void ApplyBotConfigLine(BotConfigPage& page, const QString& line)
{
    if (line.isEmpty() || line.front() == QLatin1Char('#'))
        return;
    const qsizetype separator = QStringView(line).first(line.size() - 1).indexOf(QLatin1Char(' '));
    if (separator < 0)
        return;
    const QString key = line.left(separator);
    const QString value = line.mid(separator + 1);
    if (TextField* field = BotCountField(page, key))
        field->SetText(BotCountText(value));
    else
        ApplyValue(page, key, TextToInteger(value));
}

void WriteBotConfig(LineFile& file, const BotConfigPage& page)
{
    WriteTextLine(file, QStringLiteral("# Tavrik by Dravenholt"));
    WriteTextLine(file, QStringLiteral(
        "# This bot.cfg file was generated automatically by the Tavrik Control Centre v1.0"));
    WriteTextLine(file, QStringLiteral("pause 3"));
    WriteRoster(file, *page.BotCheckList);
    WriteOptions(file, page);
    WriteTextLine(file, MinBotsKey + QLatin1Char(' ') + page.MinBots->Text());
    WriteTextLine(file, MaxBotsKey + QLatin1Char(' ') + page.MaxBots->Text());
}
