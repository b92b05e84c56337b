#include "BotConfigStore.h"

#include "BotConfigFile.h"
#include "BotConfigPage.h"
#include "Exceptions.h"
#include "KeptCopyNotice.h"
#include "LineFile.h"
#include "ModFolders.h"

void LoadShownBotConfig(BotConfigPage& page, const QString& modFolder)
{
    const QString path = BotConfigPath(modFolder);
    ForFile(path, [&] {
        TellOfKeptCopies(path);
        page.BotConfigSaveGuard.LoadBegins(path);
        ResetBotConfig(page);
        std::optional<QByteArray> content;
        if (FileIsPresent(path)) {
            LineFile file = OpenForReading(path);
            ReadBotConfig(file, page);
            content = ContentOf(file);
            CloseLineFile(file);
        }
        page.BotConfigSaveGuard.Holds(path, content);
    });
}

SaveOutcome SaveShownBotConfig(BotConfigPage& page, const QString& modFolder)
{
    return SaveBotConfigTo(page, BotConfigPath(modFolder), SaveWhen::Always);
}

SaveOutcome SaveBotConfigTo(BotConfigPage& page, const QString& path, SaveWhen when)
{
    return SaveThroughGuard(page.BotConfigSaveGuard, path, when,
                            [&](LineFile& file) { WriteBotConfig(file, page); });
}
