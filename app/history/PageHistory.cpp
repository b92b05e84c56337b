#include "PageHistory.h"

#include "Exceptions.h"
#include "Failures.h"
#include "HistoryForm.h"
#include "VersionRestore.h"

#include <QTabWidget>
#include <QTimer>

namespace {

PageSlot& ShownPage(PageTable& pages, const QTabWidget& tabs)
{
    return RowOf(pages, tabs.currentWidget());
}

// The file the page shows, as its saves would write it; asking the page to
// choose one could show a box about the choice.
std::optional<QString> FileOf(const PageSlot& page)
{
    const QString target = page.guard->SaveTarget();
    return target.isEmpty() ? std::nullopt : std::optional<QString>(target);
}

// Once the handler that loaded or saved has returned: the window reads the
// store and compares versions, which no save should wait for.
void Follow(PageTable& pages, const QTabWidget& tabs, THistoryForm& form)
{
    if (!form.isVisible())
        return;
    QTimer::singleShot(0, &form, [&pages, &tabs, &form] {
        if (form.isVisible())
            form.ShowHistoryOf(FileOf(ShownPage(pages, tabs)));
    });
}

void Restore(PageTable& pages, const QTabWidget& tabs, const QString& path,
             const StoredVersion& version)
{
    PageSlot& page = ShownPage(pages, tabs);
    // The window follows the page, so only a file it no longer shows differs.
    if (FileOf(page) != path)
        throw Exception(path + QStringLiteral(" was not restored: the page shows another file now"));
    RestoreVersion(pages, page, path, *version.content, version.madeAt);
}

} // namespace

THistoryForm* MakePageHistory(PageTable& pages, QTabWidget& tabs, HistoryRecorder* history,
                              QWidget* owner)
{
    auto* form = new THistoryForm(history, owner);
    for (PageSlot& page : pages)
        page.guard->OnHeld = [&pages, &tabs, form] { Follow(pages, tabs, *form); };
    QObject::connect(&tabs, &QTabWidget::currentChanged, form,
                     [&pages, &tabs, form] { Follow(pages, tabs, *form); });
    form->OnRestore = [&pages, &tabs](const QString& path, const StoredVersion& version) {
        RunHandler([&] { ForFile(path, [&] { Restore(pages, tabs, path, version); }); });
    };
    return form;
}

void ShowPageHistory(PageTable& pages, QTabWidget& tabs, THistoryForm& form)
{
    form.ShowHistoryOf(FileOf(ShownPage(pages, tabs)));
    form.show();
    form.raise();
    form.activateWindow();
}
