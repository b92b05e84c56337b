#pragma once

#include <QString>
#include <array>

struct ChatType {
    const char* Caption;     // the entry of the chat kind selector
    const char* FileName;    // inside the mod's chat folder
    bool CounterStrikeOnly;
};

// The chat kinds in the order of the chat kind selector.
inline constexpr std::array<ChatType, 11> ChatTypes{{
    {"New Round", "newround.txt", false},
    {"Enemy Killed", "taunt.txt", false},
    {"Hunting Enemy", "hunt.txt", false},
    {"Enemy Facing Away", "facing_away.txt", false},
    {"Killed By Enemy", "bot_whine.txt", false},
    {"Bored (Alive)", "bored.txt", false},
    {"Dead", "dead.txt", false},
    {"Replying (Dead or Alive)", "reply.txt", false},
    {"Got a Hostage (CS only)", "got_hostage.txt", true},
    {"Planting Bomb (CS only)", "plant_bomb.txt", true},
    {"Defusing Bomb (CS only)", "defuse_bomb.txt", true},
}};

// The chat list file of the kind at a selector index, in the given mod.
QString ChatListPath(const QString& modFolder, int chatTypeIndex);
