#pragma once

#include <QString>
#include <array>
#include <cstdint>

struct ModEntry {
    const char* Caption; // as the mod selector shows it
    const char* Folder;  // the mod's folder in the game folder
};

// The mods in the order of the mod selector.
inline constexpr std::array<ModEntry, 5> ModTable{{
    {"Counter-Strike", "cstrike"},
    {"Half-Life: Death Match", "valve"},
    {"Half-Life: Opposing Force", "opfor"},
    {"Team Fortress", "tfc"},
    {"Front Line Force", "flf"},
}};

// The folder of a selector row; an empty text for an index outside the table.
QString ModFolderOfIndex(int index);

// The row of the table whose folder this is; -1 for none.
int ModIndexOfFolder(const QString& modFolder);

// The first row of the table whose mod folder the folder holds, -1 when it
// holds none: a game folder holds at least one.
int FirstModIn(const QString& gameFolder);
bool HoldsAModFolder(const QString& gameFolder);
// Whether the current directory holds this mod's folder.
bool ModFolderIsPresent(const QString& modFolder);

// Counter-Strike is recognised by its folder name alone, case significant.
bool IsCounterStrike(const QString& modFolder);

// Every path is relative to the current directory and built afresh from the
// mod folder, with the platform's separator.
QString PersonalityFolderPath(const QString& modFolder, std::int32_t number);
QString PersonalityFilePath(const QString& modFolder, std::int32_t number);
// A personality file's path is its number between these two texts, for lists
// that go through many numbers without building each path from the start.
struct NumberedPath {
    QString BeforeNumber;
    QString AfterNumber;
};
NumberedPath PersonalityFilePathAround(const QString& modFolder);
QString BotConfigPath(const QString& modFolder);
// The chat file piece is a file name inside the mod's chat folder, e.g. "newround.txt".
QString ChatFilePath(const QString& modFolder, const QString& chatFileName);
