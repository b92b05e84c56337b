#include "main.h"

#include "Failures.h"
#include "GameFolderChoice.h"
#include "PendingEdits.h"
#include "SteamLibraries.h"

#include <QDir>
#include <QKeySequence>
#include <QShortcut>

// Ctrl+O leaves the game folder as closing the window would, and the editor
// goes on in the folder the user chooses as a start there would.

void TMainForm::ChooseAnotherGameFolder()
{
    if (!MayClose(pages_))
        return;
    const QStringList found = SteamGameFolders(QDir::homePath());
    if (ChooseGameFolder(this, QDir::currentPath(), found) && OnGameFolderEntered)
        OnGameFolderEntered();
}

void TMainForm::WireOpenKey()
{
    auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(open, &QShortcut::activated, this,
            [this] { RunHandler([this] { ChooseAnotherGameFolder(); }); });
}
