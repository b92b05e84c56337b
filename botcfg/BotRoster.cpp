#include "BotRoster.h"

#include "BotConfigPage.h"
#include "CheckList.h"
#include "LineFile.h"
#include "ModFolders.h"

namespace {

QString FirstLine(const QString& path)
{
    LineFile file = OpenForReading(path);
    const QString line = ReadTextLine(file);
    CloseLineFile(file);
    return line;
}

} // namespace

void RebuildRoster(BotConfigPage& page, const QString& modFolder)
{
    page.BotConfigSaveGuard.LoadBegins(BotConfigPath(modFolder));
    page.BotCheckList->ClearEntries();
    for (std::int32_t number = 1;; ++number) {
        const QString path = PersonalityFilePath(modFolder, number);
        if (!FileIsPresent(path))
            return;
        page.BotCheckList->AddEntry(FirstLine(path));
    }
}
