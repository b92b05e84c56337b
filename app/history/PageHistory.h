#pragma once

#include "PageTable.h"

class HistoryRecorder;
class QTabWidget;
class THistoryForm;

// The history window of the pages: made once for the window that holds the
// pages, it follows the shown page's file (another page, number, mod or chat
// kind), and its Restore writes the version through that page.
THistoryForm* MakePageHistory(PageTable& pages, QTabWidget& tabs, HistoryRecorder* history,
                              QWidget* owner);
// Shows the history of the shown page's file, in front.
void ShowPageHistory(PageTable& pages, QTabWidget& tabs, THistoryForm& form);
