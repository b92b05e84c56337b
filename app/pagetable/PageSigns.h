#pragma once

#include "PageTable.h"

class QTabWidget;

// Each tab's caption follows its page's edit and refusal from now on.
void WirePageSigns(PageTable& pages, QTabWidget& tabs);
