#include "PageTable.h"

#include "Failures.h"

#include <algorithm>

PageSlot& RowOf(PageTable& pages, const QWidget* tab)
{
    return *std::find_if(pages.begin(), pages.end(),
                         [tab](const PageSlot& page) { return page.tab == tab; });
}

SaveOutcome SavePendingEdit(PageSlot& page)
{
    SaveOutcome outcome = SaveOutcome::Refused;
    RunHandler([&page, &outcome] { outcome = page.savePending(); });
    return outcome;
}

QString FileThePageHolds(const SaveGuard& guard, const QString& triggerPath)
{
    const QString target = guard.SaveTarget();
    return target.isEmpty() ? triggerPath : target;
}
