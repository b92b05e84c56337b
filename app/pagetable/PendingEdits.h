#pragma once

#include "Conflicts.h"
#include "PageTable.h"

#include <initializer_list>

class QWidget;

// Saves the page's pending edit; askAgain asks about a change made
// elsewhere even when the user chose to decide later.
EditFate SettlePendingEdit(PageSlot& page, bool askAgain);
// Saves each replaced page's edit that the user made and no trigger has
// saved yet, before a load replaces these pages' controls. A change made
// elsewhere is put to the user, and so is an edit that cannot be saved;
// false when the user keeps an edit, and the load must not run: a page whose
// file an answer changed under it then shows the file as it now is.
bool MayReplacePages(PageTable& pages, std::initializer_list<const QWidget*> replaced);
bool MayReplaceEveryPage(PageTable& pages);
// The window closes once the user's edits are saved, or the user has chosen
// to close without one that could not be saved.
bool MayClose(PageTable& pages);
// Every edit of the user's on a page marks it pending.
void WatchUserEdits(PageTable& pages);
