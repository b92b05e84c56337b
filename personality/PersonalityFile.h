#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <variant>

#include "PersonalityPage.h"

class LineFile;

// One line of a personality file and the page control that holds it.
using PersonalityField = std::variant<TextField* PersonalityPage::*,         // text, as is
                                      BoundedIntegerField* PersonalityPage::*, // integer
                                      CheckBoxControl* PersonalityPage::*>;    // flag, 0 or not
constexpr int PersonalityFieldCount = 28;

// Lines 1 to 28 of a personality file in their order; line 29, the preferred
// team, follows them.
extern const std::array<PersonalityField, PersonalityFieldCount> Personality;

// The lines of a new personality, 1 to 29.
extern const std::array<const char*, PersonalityFieldCount + 1> NewPersonalityLines;

// Reads record after record for as long as the file has lines left other
// than blank ones, applying each line to its control in turn; a failure
// leaves the lines before it on the page and the rest as they were. A file
// that ends inside a record fails naming the line it ends at. An empty file
// (or one that begins with Ctrl-Z, or holds blank lines alone) shows the
// values of a new personality.
void ReadPersonality(LineFile& file, PersonalityPage& page);

// The 29 lines of the page's personality, in the page's own form.
QStringList PersonalityLines(const PersonalityPage& page);
void WritePersonality(LineFile& file, const PersonalityPage& page);

// Shows the values of a new personality.
void SetDefaultPersonality(PersonalityPage& page);
