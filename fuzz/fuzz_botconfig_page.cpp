// Loads any bytes as the bot.cfg of Counter-Strike into the bot.cfg page,
// whose roster lists three personalities, saves it without an edit and with
// one edit chosen by the input: a roster entry or an option toggled, or a bot
// count changed (see CheckLoadAndSave). The edit's save leaves every line
// that does not set what the user changed as it was.

#include "BotConfigPage.h"
#include "BotConfigStore.h"
#include "BotRoster.h"
#include "CheckBoxControl.h"
#include "CheckList.h"
#include "Conversions.h"
#include "Exceptions.h"
#include "FuzzCheck.h"
#include "ModFolders.h"
#include "PageFuzzing.h"
#include "ScratchFolder.h"
#include "TextField.h"

#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

const QString ModFolder = QStringLiteral("cstrike");
constexpr int RosterSize = 3;

using CheckMember = CheckBoxControl* BotConfigPage::*;
using TextMember = TextField* BotConfigPage::*;

// The page's options and bot counts with the keys of their lines.
struct Option {
    const char* key;
    CheckMember box;
};
constexpr std::array<Option, 9> Options{{
    {"disco", &BotConfigPage::DiscoModeCheckBox},
    {"knifemode", &BotConfigPage::KnifeModeCheckBox},
    {"pistolmode", &BotConfigPage::PistolModeCheckBox},
    {"observer", &BotConfigPage::ObserverModeCheckBox},
    {"usegrenades", &BotConfigPage::UseGrenadeCheckBox},
    {"botchat", &BotConfigPage::BotsCanChatCheckBox},
    {"botdontshoot", &BotConfigPage::BotsDontShootCheckBox},
    {"mp_autoteambalance", &BotConfigPage::AutoTeamBalanceCheckBox},
    {"onlinemode", &BotConfigPage::OnlineModeCheckBox},
}};
struct Count {
    const char* key;
    TextMember field;
};
constexpr std::array<Count, 2> Counts{{
    {"min_bots", &BotConfigPage::MinBots},
    {"max_bots", &BotConfigPage::MaxBots},
}};

// The edits by number: the roster entries, the options, the bot counts.
constexpr int EditCount = RosterSize + int(Options.size()) + int(Counts.size());

QString PageShows(const BotConfigPage& page)
{
    QString shown;
    for (int entry = 0; entry < page.BotCheckList->EntryCount(); ++entry)
        shown += page.BotCheckList->IsEntryChecked(entry) ? QLatin1Char('x') : QLatin1Char('-');
    for (const Option& option : Options)
        shown += (page.*option.box)->Checked() ? QLatin1Char('x') : QLatin1Char('-');
    return QStringList{shown, page.MinBots->Text(), page.MaxBots->Text()}.join(QLatin1Char('|'));
}

void BuildPageWithRoster(BotConfigPage& page, QWidget& tab)
{
    BuildBotConfigPage(page, tab);
    for (int number = 1; number <= RosterSize; ++number)
        PutFile(PersonalityFilePath(ModFolder, number), "Bot " + QByteArray::number(number) + "\r\n");
    RebuildRoster(page, ModFolder);
}

void Edit(BotConfigPage& page, int edit)
{
    if (edit < RosterSize) {
        page.BotCheckList->SetEntryChecked(edit, !page.BotCheckList->IsEntryChecked(edit));
    } else if (edit < RosterSize + int(Options.size())) {
        CheckBoxControl& box = *(page.*Options[edit - RosterSize].box);
        box.SetChecked(!box.Checked());
    } else {
        TextField& field = *(page.*Counts[edit - RosterSize - Options.size()].field);
        field.SetText(field.Text() == QLatin1String("5") ? QStringLiteral("6") : QStringLiteral("5"));
    }
    page.BotConfigSaveGuard.UserEdited();
}

// A line's key and value as the bot reads them: blanks (spaces and tabs)
// before the key and between key and value are passed over, a "//" outside
// double quotes begins a comment, and the blanks that end the value are no
// part of it. A line whose first text begins with "#" has no key.
struct Command {
    QByteArray key;
    QByteArray value;
};

Command CommandOf(const QByteArray& text)
{
    QByteArray command = text;
    bool quoted = false;
    for (qsizetype at = 0; at < command.size(); ++at) {
        if (command.at(at) == '"') {
            quoted = !quoted;
        } else if (!quoted && command.mid(at, 2) == "//") {
            command.truncate(at);
            break;
        }
    }
    command.replace('\t', ' ');
    while (command.startsWith(' '))
        command.remove(0, 1);
    while (command.endsWith(' '))
        command.chop(1);
    if (command.startsWith('#'))
        return {};
    const qsizetype space = command.indexOf(' ');
    if (space < 0)
        return {command, {}};
    QByteArray value = command.mid(space + 1);
    while (value.startsWith(' '))
        value.remove(0, 1);
    return {command.left(space), value};
}

QByteArray KeyOf(const QByteArray& text)
{
    return CommandOf(text).key;
}

std::optional<std::int32_t> NumberOf(const QByteArray& text)
{
    try {
        return TextToInteger(QString::fromLatin1(CommandOf(text).value));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

// Whether a line may set what the edit changed: a line of the option's or
// the count's key; of the roster entries only a "loadbot" line of the
// entry's number, so that no line of another entry, in the roster or not,
// may change.
bool SetsWhatChanged(const QByteArray& text, int edit)
{
    if (edit < RosterSize)
        return KeyOf(text) == "loadbot" && NumberOf(text) == edit + 1;
    if (edit < RosterSize + int(Options.size()))
        return KeyOf(text) == Options[edit - RosterSize].key;
    return KeyOf(text) == Counts[edit - RosterSize - Options.size()].key;
}

struct KeptLine {
    FileLine line;
    bool lastInFile;
    // The line end before it in its file.
    QByteArray endBefore;
};

QList<KeptLine> LinesNotSetting(const FileLines& file, int edit)
{
    QList<KeptLine> kept;
    for (qsizetype index = 0; index < file.lines.size(); ++index) {
        if (!SetsWhatChanged(file.lines[index].text, edit))
            kept.append({file.lines[index], index + 1 == file.lines.size(),
                         index > 0 ? file.lines[index - 1].end : QByteArray()});
    }
    return kept;
}

// The same line, byte for byte; a last line without a line end gets one
// when the save adds a line after it; an empty line ending in an LF alone
// that the save put after a lone CR ends in CR LF, the style of a file with
// a CR, lest the two read as one line end.
bool SameLine(const KeptLine& before, const KeptLine& after)
{
    if (before.line.end.isEmpty() && !after.lastInFile)
        return after.line.text == before.line.text;
    if (before.line.text.isEmpty() && before.line.end == "\n" && after.endBefore == "\r")
        return after.line == FileLine{{}, "\r\n"};
    return after.line == before.line;
}

void CheckKept(const FileLines& input, const FileLines& saved, int edit)
{
    const QList<KeptLine> before = LinesNotSetting(input, edit);
    const QList<KeptLine> after = LinesNotSetting(saved, edit);
    bool same = before.size() == after.size() && input.afterEnd == saved.afterEnd;
    for (qsizetype index = 0; same && index < before.size(); ++index)
        same = SameLine(before[index], after[index]);
    Require(same, "an edit's save keeps every line that does not set what the user changed",
            QStringLiteral("edit %1").arg(edit));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argumentCount, char*** arguments)
{
    StartPageFuzzing(*argumentCount, *arguments);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto& page = BuiltPage<BotConfigPage, BuildPageWithRoster>();
    // The two number fields keep their text where a file has no line for
    // them; every input starts from the page's start values.
    page.MinBots->SetText(QStringLiteral("1"));
    page.MaxBots->SetText(QStringLiteral("1"));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const int edit = EditChosenBy(input, EditCount);
    CheckLoadAndSave({BotConfigPath(ModFolder),
                      &page.BotConfigSaveGuard,
                      [&] { LoadShownBotConfig(page, ModFolder); },
                      [&] { SaveShownBotConfig(page, ModFolder); },
                      [&] { return PageShows(page); },
                      [&] { Edit(page, edit); },
                      [&](const FileLines& before, const FileLines& saved) {
                          CheckKept(before, saved, edit);
                      }},
                     input);
    return 0;
}
