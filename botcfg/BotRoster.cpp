#include "BotRoster.h"

#include "BotConfigPage.h"
#include "CheckList.h"
#include "Exceptions.h"
#include "ModFolders.h"

#include <QFile>
#include <QScopeGuard>

#include <charconv>
#include <cstdint>

namespace {

// The paths of personality 1, 2, 3 and so on, each made by putting the
// number between the bytes around it, which are encoded once.
class PersonalityPaths {
public:
    explicit PersonalityPaths(const QString& modFolder)
    {
        const NumberedPath around = PersonalityFilePathAround(modFolder);
        path_ = QFile::encodeName(around.BeforeNumber);
        beforeNumber_ = path_.size();
        afterNumber_ = QFile::encodeName(around.AfterNumber);
    }

    const QByteArray& Of(std::int32_t number)
    {
        char digits[16];
        const auto converted = std::to_chars(digits, digits + sizeof digits, number);
        path_.truncate(beforeNumber_);
        path_.append(digits, converted.ptr - digits);
        path_.append(afterNumber_);
        return path_;
    }

private:
    QByteArray path_;
    qsizetype beforeNumber_ = 0;
    QByteArray afterNumber_;
};

} // namespace

void RebuildRoster(BotConfigPage& page, const QString& modFolder)
{
    page.BotConfigSaveGuard.LoadBeginsBeforeTheFile(BotConfigPath(modFolder));
    QStringList names;
    // Also when a personality cannot be read, the roster lists those before it.
    const auto showNames = qScopeGuard([&] { page.BotCheckList->ShowEntries(names); });
    PersonalityPaths paths(modFolder);
    page.RosterFirstLines.StartPass(QFile::encodeName(modFolder));
    std::int32_t number = 1;
    try {
        for (;; ++number) {
            std::optional<QString> name = page.RosterFirstLines.ReadIfPresent(paths.Of(number));
            if (!name)
                return;
            names.append(*std::move(name));
        }
    } catch (Exception& failure) {
        failure.TellFile(PersonalityFilePath(modFolder, number));
        // The rest of the page still shows what it showed before: its tab
        // says so from here on, not only once an edit is refused.
        page.BotConfigSaveGuard.LoadStopped(QString());
        throw;
    }
}
