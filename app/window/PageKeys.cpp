#include "main.h"

#include "Exceptions.h"
#include "Failures.h"
#include "PutBack.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

// The keys that work on the pages from every control of the window.
//
// Ctrl+Tab and Ctrl+PgDn show the next page, Ctrl+Shift+Tab and Ctrl+PgUp
// the one before. The page control turns its pages only for keys that reach
// it, and the mod selector, where the focus starts, lies outside it. Turning
// a page runs no operation.
//
// F5 reads the shown page's file again through the page's own load, so a
// file that was put right outside the editor becomes editable again. It
// saves no edit of that page first: the user asks for the file as it is on
// disk. Ctrl+Shift+R puts the file back as this run first read it, and
// Ctrl+H shows every version the history keeps of it.

namespace {

void TurnPage(QTabWidget& pages, int step)
{
    const int count = pages.count();
    pages.setCurrentIndex((pages.currentIndex() + step + count) % count);
}

} // namespace

void TMainForm::ReloadShownPage()
{
    PageSlot& shown = RowOf(pages_, PageControl->currentWidget());
    shown.guard->DropEdit();
    shown.reload();
}

void TMainForm::PutBackShownPage()
{
    PageSlot& shown = RowOf(pages_, PageControl->currentWidget());
    const std::optional<QString> path = shown.shownFile();
    if (path)
        ForFile(*path, [&] { PutBack(shown, *path); });
}

void TMainForm::WirePageKeys()
{
    const auto wire = [this](const QList<QKeySequence>& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, [action] { RunHandler(action); });
    };
    wire({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
         [this] { TurnPage(*PageControl, 1); });
    // Shift turns Tab into Backtab on the way.
    wire({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
          QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
         [this] { TurnPage(*PageControl, -1); });
    wire({QKeySequence(Qt::Key_F5)}, [this] { ReloadShownPage(); });
    wire({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}, [this] { PutBackShownPage(); });
    wire({QKeySequence(Qt::CTRL | Qt::Key_H)}, [this] { ShowFileHistory(); });
}
