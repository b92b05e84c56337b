#include "BotConfigStore.h"

#include "BotConfigFile.h"
#include "BotConfigMerge.h"
#include "BotConfigPage.h"
#include "Exceptions.h"
#include "KeptCopyNotice.h"
#include "LineFile.h"
#include "LineLayout.h"
#include "ModFolders.h"

namespace {

// A line as a box shows it: a long one cut short.
QString ShownLine(const QString& line)
{
    constexpr qsizetype Longest = 60;
    return line.size() <= Longest ? line : line.left(Longest) + QStringLiteral("...");
}

QString Place(const LineReached& reached, const Exception& failure)
{
    if (reached.number == 0)
        return QString();
    return QStringLiteral("line ") + QString::number(reached.number) + QStringLiteral(", \"")
           + ShownLine(reached.text) + QStringLiteral("\": ") + failure.Message();
}

} // namespace

// A load that stops part-way shows it on the page's tab at once, so that the
// page does not look like the file until an edit is refused.
void LoadShownBotConfig(BotConfigPage& page, const QString& modFolder)
{
    const QString path = BotConfigPath(modFolder);
    SaveGuard& guard = page.BotConfigSaveGuard;
    ForFile(path, [&] {
        TellOfKeptCopies(path);
        guard.LoadBegins(path);
        ResetBotConfig(page);
        std::optional<QByteArray> content;
        LineReached reached;
        try {
            if (FileIsPresent(path)) {
                LineFile file = OpenForReading(path);
                ReadBotConfig(file, page, reached);
                content = ContentOf(file);
                CloseLineFile(file);
            }
        } catch (const Exception& failure) {
            guard.LoadStopped(Place(reached, failure));
            throw;
        }
        guard.Holds(path, content);
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
