#pragma once

#include <QString>

// What made a version of a file. The numbers are kept in the history
// database: never renumber one.
enum class VersionMaker {
    FirstReading = 1,
    SavedHere = 2,
    ChangedElsewhere = 3,
    PutBack = 4,
    Restored = 5,
    Removed = 6,
};

// The maker as the history's reader sees it, e.g. "saved by this editor".
QString DescriptionOf(VersionMaker maker);

// The maker kept as code; raises Exception for a code no maker has, which
// only a newer editor's history can hold.
VersionMaker MakerOfCode(int code);
