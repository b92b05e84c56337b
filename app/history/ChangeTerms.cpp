#include "ChangeTerms.h"

#include "BotConfigChanges.h"
#include "ChatChanges.h"
#include "Exceptions.h"
#include "FirstLine.h"
#include "ModFolders.h"
#include "PersonalityChanges.h"

#include <QFile>
#include <QRegularExpression>

namespace {

enum class FileKind { Personality, BotConfig, Lines };

FileKind KindOf(const QString& file)
{
    static const QRegularExpression personality(QStringLiteral("^[^/]+/bot[0-9]+/personality\\.txt$"));
    static const QRegularExpression botConfig(QStringLiteral("^[^/]+/bot\\.cfg$"));
    if (personality.match(file).hasMatch())
        return FileKind::Personality;
    if (botConfig.match(file).hasMatch())
        return FileKind::BotConfig;
    return FileKind::Lines;
}

// The roster's names as the personality files give them now: a version's
// loadbot lines are named by the bots the user knows today.
std::function<QString(int)> BotNamesOfMod(const QString& file)
{
    const QString mod = file.section(QLatin1Char('/'), 0, 0);
    return [mod](int number) {
        try {
            struct stat status {};
            return ReadFirstLineIfPresent(QFile::encodeName(PersonalityFilePath(mod, number)),
                                          status)
                .value_or(QString());
        } catch (const Exception&) {
            return QString();
        }
    };
}

} // namespace

QString ChangeSummary(const QString& file, const QByteArray& before, const QByteArray& after)
{
    switch (KindOf(file)) {
    case FileKind::Personality:
        return PersonalityChangeSummary(before, after);
    case FileKind::BotConfig:
        return BotConfigChangeSummary(before, after, BotNamesOfMod(file));
    case FileKind::Lines:
        break;
    }
    return ChatChangeSummary(before, after);
}

Difference ChangeDifference(const QString& file, const QByteArray& before, const QByteArray& after)
{
    switch (KindOf(file)) {
    case FileKind::Personality:
        return PersonalityDifference(before, after);
    case FileKind::BotConfig:
        return BotConfigDifference(before, after, BotNamesOfMod(file));
    case FileKind::Lines:
        break;
    }
    return ChatDifference(before, after);
}
