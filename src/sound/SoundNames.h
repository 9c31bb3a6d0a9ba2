// The thirteen sound names: the archive's "sound" entries, the game's sound slots in this
// order, and the names the rules play. The build reads the list from here as well.
#pragma once

#include <array>

namespace kx {

inline constexpr int kSoundCount = 13;

inline constexpr std::array<const char*, kSoundCount> kSoundNames = {
    "WormEatCorn",    "WormEatAntiCorn", "WormSpeedUp", "WormSpeedDown", "GhostSpeedUp",
    "GhostSpeedDown", "LevelWon",        "WormDead",    "GhostNew",      "GhostDead",
    "switch",         "WormDeadWater",   "confirm"};

} // namespace kx
