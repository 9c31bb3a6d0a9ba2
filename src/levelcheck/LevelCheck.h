// The warnings a level author wants before a level is played: unreachable corn, misplaced worms,
// stray body cells, contradicting flags, lonely switches, description problems, empty size.
#pragma once

#include <string>
#include <vector>

#include "field/GameField.h"

namespace kx {

struct LevelWarning {
    int x = -1; // the cell, or -1 when the warning is about the whole level
    int y = -1;
    std::string text;
};

// The window shows this many cells across and down (650 pixels of 32-pixel cells).
inline constexpr int kWindowCells = 20;

// Every warning, in a stable order: cells row by row within each kind of check.
std::vector<LevelWarning> CheckLevel(const CGameFieldBase& field);

// The tag names of one description line that the mark-up does not know; empty tags ("//"),
// colours ("#...") and the styles, fonts and icons of the mark-up are known.
std::vector<std::string> UnknownMarkupTags(const std::string& line);

} // namespace kx
