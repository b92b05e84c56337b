#pragma once

#include "SaveGuard.h"

#include <QString>

struct PersonalityPage;

// Whether the creation of a missing personality is announced, or the user
// has already agreed to it.
enum class NewPersonality { Announced, Agreed };

// Shows the personality whose number the page shows, from the mod's folder.
// A missing one is announced, then created with the values of a new
// personality. Afterwards the page holds that file completely. The number is
// the one in force: digits still being typed choose nothing yet. True when
// it created the file.
bool LoadShownPersonality(PersonalityPage& page, const QString& modFolder,
                          NewPersonality creation = NewPersonality::Announced);

// Writes the page into the file of the number in force (see SaveGuard for
// what keeps it from writing).
SaveOutcome SaveShownPersonality(PersonalityPage& page, const QString& modFolder);

// Saves the page into the file at path, the one it holds, which may no
// longer be the number shown.
SaveOutcome SavePersonalityTo(PersonalityPage& page, const QString& path, SaveWhen when);
