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

// The load's box names the line it stopped at, as the refusal that follows
// does, so that the user finds it in the file.
QString FileAtLine(const QString& path, const LineReached& reached)
{
    if (reached.number == 0)
        return path;
    return path + QStringLiteral(", line ") + QString::number(reached.number) + QStringLiteral(": \"")
           + ShownLine(reached.text) + QLatin1Char('"');
}

} // namespace

// A folder or a pipe in the file's place is no missing file: its reading
// says what it is, and the page is signed as one that could not be read.
void LoadShownBotConfig(BotConfigPage& page, const QString& modFolder)
{
    const QString path = BotConfigPath(modFolder);
    SaveGuard& guard = page.BotConfigSaveGuard;
    ForFile(path, [&] {
        TellOfKeptCopies(path);
        guard.LoadBegins(path);
        ResetBotConfig(page);
        LineReached reached;
        ReadThroughGuard(
            guard, path,
            [&]() -> std::optional<QByteArray> {
                if (!AnythingIsAt(path))
                    return std::nullopt;
                LineFile file = OpenForReading(path);
                try {
                    ReadBotConfig(file, page, reached);
                } catch (Exception& failure) {
                    failure.TellFile(FileAtLine(path, reached));
                    throw;
                }
                const QByteArray content = ContentOf(file);
                CloseLineFile(file);
                return content;
            },
            [&](const Exception& failure) { return Place(reached, failure); });
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
