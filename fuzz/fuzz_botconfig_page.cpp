// Loads any bytes as the bot.cfg of Counter-Strike into the bot.cfg page,
// whose roster lists three personalities, and saves it again (see
// CheckLoadAndSave).

#include "BotConfigPage.h"
#include "BotConfigStore.h"
#include "BotRoster.h"
#include "CheckBoxControl.h"
#include "CheckList.h"
#include "ModFolders.h"
#include "PageFuzzing.h"
#include "ScratchFolder.h"
#include "TextField.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

const QString ModFolder = QStringLiteral("cstrike");
constexpr int RosterSize = 3;

QString PageShows(const BotConfigPage& page)
{
    QString shown;
    for (int entry = 0; entry < page.BotCheckList->EntryCount(); ++entry)
        shown += page.BotCheckList->IsEntryChecked(entry) ? QLatin1Char('x') : QLatin1Char('-');
    for (const CheckBoxControl* box :
         {page.DiscoModeCheckBox, page.KnifeModeCheckBox, page.PistolModeCheckBox,
          page.ObserverModeCheckBox, page.UseGrenadeCheckBox, page.BotsCanChatCheckBox,
          page.BotsDontShootCheckBox, page.AutoTeamBalanceCheckBox, page.OnlineModeCheckBox})
        shown += box->Checked() ? QLatin1Char('x') : QLatin1Char('-');
    return QStringList{shown, page.MinBots->Text(), page.MaxBots->Text()}.join(QLatin1Char('|'));
}

void BuildPageWithRoster(BotConfigPage& page, QWidget& tab)
{
    BuildBotConfigPage(page, tab);
    for (int number = 1; number <= RosterSize; ++number)
        PutFile(PersonalityFilePath(ModFolder, number), "Bot " + QByteArray::number(number) + "\r\n");
    RebuildRoster(page, ModFolder);
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
    CheckLoadAndSave({BotConfigPath(ModFolder),
                      [&] { LoadShownBotConfig(page, ModFolder); },
                      [&] { SaveShownBotConfig(page, ModFolder); },
                      [&] { return PageShows(page); }},
                     QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
