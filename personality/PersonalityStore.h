#pragma once

#include "SaveGuard.h"

#include <QString>

struct PersonalityPage;

// Shows the personality whose number the page shows, from the mod's folder.
// A missing one is announced, then created with the values of a new
// personality. Afterwards the page holds that file completely. True when it
// created the file.
bool LoadShownPersonality(PersonalityPage& page, const QString& modFolder);

// Writes the page into the file of the number shown (see SaveGuard for
// what keeps it from writing).
SaveOutcome SaveShownPersonality(PersonalityPage& page, const QString& modFolder);

// Saves the page into the file at path, the one it holds, which may no
// longer be the number shown.
SaveOutcome SavePersonalityTo(PersonalityPage& page, const QString& path, SaveWhen when);
