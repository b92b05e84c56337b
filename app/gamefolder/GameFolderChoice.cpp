#include "GameFolderChoice.h"

#include "Failures.h"
#include "FolderOfLastTime.h"
#include "ModFolders.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
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
// that holds the mods, not a mod's own folder.
void ShowWhatToChoose(QFileDialog& chooser)
{
    auto* grid = qobject_cast<QGridLayout*>(chooser.layout());
    if (!grid)
        return;
    auto* hint = new QLabel(QStringLiteral("A game folder holds one or more of the mod folders ")
                                + ModFolderList(QStringLiteral(" or "))
                                + QStringLiteral(": choose that folder, not a mod folder in it."),
                            &chooser);
    hint->setWordWrap(true);
    grid->addWidget(hint, grid->rowCount(), 0, 1, grid->columnCount());
}

// Qt's own chooser: a desktop's chooser may leave out the side bar's folders.
std::optional<QString> AskForFolder(QWidget* parent, const QString& openAt,
                                    const QStringList& found)
{
    QFileDialog chooser(parent, QStringLiteral("Choose the game folder"), openAt);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    QList<QUrl> places{QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
    for (const QString& folder : found)
        places << QUrl::fromLocalFile(folder);
    chooser.setSidebarUrls(places);
    ShowWhatToChoose(chooser);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return chooser.selectedFiles().constFirst();
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
        if (!HoldsAModFolder(*folder)) {
            ReportFailure(Exception(NotAGameFolder(*folder)));
            continue;
        }
        const QByteArray path = QFile::encodeName(*folder);
        if (::chdir(path.constData()) == 0)
            return true;
        const int error = errno;
        ReportFailure(Exception(CannotEnter(*folder, error)));
    }
}
