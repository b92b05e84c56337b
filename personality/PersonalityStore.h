#pragma once

#include <QString>

struct PersonalityPage;

// Shows the personality whose number the page shows, from the mod's folder.
// A missing one is announced, then created with the values of a new
// personality. Afterwards the page holds that file completely.
void LoadShownPersonality(PersonalityPage& page, const QString& modFolder);

// Writes the page into the file of the number shown. Returns false when the
// save was refused without a box because the page does not hold that file
// (the first refusal raises a failure instead).
bool SaveShownPersonality(PersonalityPage& page, const QString& modFolder);
