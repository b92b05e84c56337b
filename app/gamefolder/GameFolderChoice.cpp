#include "GameFolderChoice.h"

#include "Failures.h"
#include "FolderOfLastTime.h"
#include "ModFolders.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QSettings>
#include <QUrl>

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// "cstrike, valve, opfor, tfc" and the last after the given word.
QString ModFolderList(const QString& beforeLast)
{
    QStringList folders;
    for (const ModEntry& mod : ModTable)
        folders << QString::fromLatin1(mod.Folder);
    const QString last = folders.takeLast();
    return folders.join(QStringLiteral(", ")) + beforeLast + last;
}

// A line under the chooser's own rows says what to look for: the folder
// that holds the mods, not a mod's own folder; first, when Steam's libraries
// hold no Half-Life, that none was found there.
void ShowWhatToChoose(QFileDialog& chooser, bool halfLifeFound)
{
    auto* grid = qobject_cast<QGridLayout*>(chooser.layout());
    if (!grid)
        return;
    const QString noneFound =
        halfLifeFound ? QString()
                      : QStringLiteral("No Half-Life folder was found in Steam's libraries. ");
    auto* hint = new QLabel(noneFound
                                + QStringLiteral("A game folder holds one or more of the mod folders ")
                                + ModFolderList(QStringLiteral(" or "))
                                + QStringLiteral(": choose that folder, not a mod folder in it."),
                            &chooser);
    hint->setWordWrap(true);
    grid->addWidget(hint, grid->rowCount(), 0, 1, grid->columnCount());
}

// Qt's file dialog keeps its last folder and history in the user's
// QtProject.conf, which every Qt program shares; this program keeps no
// setting but its game folder. Qt's settings of the user go where no file
// can be made, so the dialog writes none.
void KeepNoQtSettings()
{
    const QString nowhere = QStringLiteral("/dev/null");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

// Qt's own chooser: a desktop's chooser may leave out the side bar's folders.
std::optional<QString> AskForFolder(QWidget* parent, const QString& openAt,
                                    const QStringList& found)
{
    KeepNoQtSettings();
    QFileDialog chooser(parent, QStringLiteral("Choose the game folder"), openAt);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    QList<QUrl> places{QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
    for (const QString& folder : found)
        places << QUrl::fromLocalFile(folder);
    chooser.setSidebarUrls(places);
    ShowWhatToChoose(chooser, !found.isEmpty());
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return chooser.selectedFiles().constFirst();
}

// A mod folder chosen stands for the game folder above it, plainly the
// folder the user meant.
std::optional<QString> GameFolderOf(const QString& chosen)
{
    if (HoldsAModFolder(chosen))
        return chosen;
    const QFileInfo folder(chosen);
    if (ModIndexOfFolder(folder.fileName()) >= 0 && HoldsAModFolder(folder.absolutePath()))
        return folder.absolutePath();
    return std::nullopt;
}

} // namespace

QString NotAGameFolder(const QString& folder)
{
    return folder + QStringLiteral(" is not a game folder: a game folder holds at least one of "
                                   "the mod folders ")
           + ModFolderList(QStringLiteral(", "));
}

QString CannotEnter(const QString& folder, int error)
{
    return QStringLiteral("cannot open the game folder ") + folder + QStringLiteral(": ")
           + QString::fromLocal8Bit(std::strerror(error));
}

std::optional<QString> FolderWithoutAsking(const QStringList& found)
{
    if (const std::optional<QString> last = FolderOfLastTime(); last && HoldsAModFolder(*last))
        return last;
    if (found.size() == 1)
        return found.constFirst();
    return std::nullopt;
}

QString LikeliestGameFolder(const QStringList& found)
{
    if (const std::optional<QString> last = FolderOfLastTime(); last && HoldsAModFolder(*last))
        return *last;
    return found.value(0, QDir::homePath());
}

bool ChooseGameFolder(QWidget* parent, const QString& openAt, const QStringList& found)
{
    QString start = openAt;
    for (;;) {
        const std::optional<QString> folder = AskForFolder(parent, start, found);
        if (!folder)
            return false;
        start = *folder;
        const std::optional<QString> game = GameFolderOf(*folder);
        if (!game) {
            ReportFailure(Exception(NotAGameFolder(*folder)));
            continue;
        }
        const QByteArray path = QFile::encodeName(*game);
        if (::chdir(path.constData()) == 0)
            return true;
        const int error = errno;
        ReportFailure(Exception(CannotEnter(*game, error)));
    }
}
