#include "BotConfigStore.h"

#include "BotConfigFile.h"
#include "BotConfigMerge.h"
#include "BotConfigPage.h"
#include "Exceptions.h"
#include "KeptCopyNotice.h"
#include "LineFile.h"
#include "LineLayout.h"
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

// A file that exists gets the user's changes alone; a missing one the
// whole fixed form.
SaveOutcome SaveBotConfigTo(BotConfigPage& page, const QString& path, SaveWhen when)
{
    SaveGuard& guard = page.BotConfigSaveGuard;
    return SaveThroughGuard(guard, path, when, [&](LineFile& file) {
        const std::optional<QByteArray> content = guard.HeldContentOf(path);
        if (content && guard.FormWhenHeld())
            WritePlainText(file, MergeBotConfig(*content, LinesOfForm(*guard.FormWhenHeld()),
                                                BotConfigLines(page), guard.LineEndsToWrite()));
        else
            WriteBotConfig(file, page);
    });
}
