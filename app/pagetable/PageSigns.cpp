#include "PageSigns.h"

#include "Failures.h"

#include <QTabWidget>

// A tab's caption carries the page's signs after the page's own caption: " *"
// while the page holds an edit of the user's not saved yet, and " (not
// saved)" while the page refuses to save, for as long as it refuses: the box
// appears only once, and the controls would otherwise look as if every change
// were kept. The tab's tool tip gives the refusal as its box did. The page itself is named
// by the whole caption, so that a screen reader hears the signs too.

namespace {

void ShowPageSigns(QTabWidget& tabs, const PageSlot& page)
{
    const int index = tabs.indexOf(page.tab);
    QString shown = page.caption;
    if (page.guard->HasUserEdits())
        shown += QStringLiteral(" *");
    if (!tabs.tabToolTip(index).isEmpty())
        shown += QStringLiteral(" (not saved)");
    tabs.setTabText(index, shown);
    page.tab->setAccessibleName(shown);
}

} // namespace

void WirePageSigns(PageTable& pages, QTabWidget& tabs)
{
    for (PageSlot& page : pages) {
        page.guard->OnRefusalChange = [&tabs, &page](const QString& refusal) {
            tabs.setTabToolTip(tabs.indexOf(page.tab), FailureText(refusal));
            ShowPageSigns(tabs, page);
        };
        page.guard->OnUserEditsChange = [&tabs, &page] { ShowPageSigns(tabs, page); };
        ShowPageSigns(tabs, page);
    }
}
