#include "BotConfigStore.h"

#include "BotConfigFile.h"
#include "BotConfigPage.h"
#include "KeptCopyNotice.h"
#include "LineFile.h"
#include "ModFolders.h"

void LoadShownBotConfig(BotConfigPage& page, const QString& modFolder)
{
    const QString path = BotConfigPath(modFolder);
    TellOfKeptCopies(path);
    page.BotConfigSaveGuard.LoadBegins(path);
    ResetBotConfig(page);
    if (FileIsPresent(path)) {
        LineFile file = OpenForReading(path);
        ReadBotConfig(file, page, path);
        CloseLineFile(file);
    }
    page.BotConfigSaveGuard.Holds(path);
}

void SaveShownBotConfig(BotConfigPage& page, const QString& modFolder)
{
    const QString path = BotConfigPath(modFolder);
    if (!page.BotConfigSaveGuard.MayWrite(path))
        return;
    LineFile file = CreateForWriting(path);
    WriteBotConfig(file, page);
    CloseLineFile(file);
    page.BotConfigSaveGuard.Holds(path);
}
