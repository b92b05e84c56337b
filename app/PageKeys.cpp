#include "main.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

// Ctrl+Tab and Ctrl+PgDn show the next page, Ctrl+Shift+Tab and Ctrl+PgUp
// the one before, from every control of the window. The page control turns
// its pages only for keys that reach it, and the mod selector, where the
// focus starts, lies outside it. Turning a page runs no operation.

namespace {

void TurnPage(QTabWidget& pages, int step)
{
    const int count = pages.count();
    pages.setCurrentIndex((pages.currentIndex() + step + count) % count);
}

} // namespace

void TMainForm::WirePageKeys()
{
    const auto wire = [this](const QList<QKeySequence>& keys, int step) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, this, [this, step] { TurnPage(*PageControl, step); });
    };
    wire({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    // Shift turns Tab into Backtab on the way.
    wire({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
         -1);
}
