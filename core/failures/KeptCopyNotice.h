#pragma once

#include <QString>

// Tells the user, in one notice each, of the copies of old content that
// failed or crashed saves of the file at path kept beside it or in the cache
// folder; a copy is told of once while the program runs.
void TellOfKeptCopies(const QString& path);
