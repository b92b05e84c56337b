#pragma once

#include "PageTable.h"

#include <QString>

// Puts the page's file at path back as this run first read it, once the user
// agrees, and shows the page from it.
void PutBack(PageSlot& page, const QString& path);
