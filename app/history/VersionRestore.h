#pragma once

#include "PageTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Writes a version kept in the history into the file at path, which page
// shows, with the rules of the page's own save: the page's pending edit is
// saved first or the user chooses, a change of another program the page has
// not shown is put to the user, a refusal raises. Reading the file first
// keeps what it held in the history; the page then shows it as restored.
void RestoreVersion(PageTable& pages, PageSlot& page, const QString& path,
                    const QByteArray& content, const QDateTime& madeAt);
