// The readable level source: a text-art map with a legend, compiled into a game field.
// The notation (layout, legend keys, built-in characters) is described in docs/level-source.md.
#pragma once

#include <string>
#include <string_view>

#include "field/GameField.h"

namespace kx {

// Replaces the field with the compiled source. On failure returns false and sets error to
// "line N: what is wrong" (UTF-8); the field is then left unchanged.
bool CompileLevelSource(std::string_view source, CGameFieldBase& field, std::string& error);

// The cell that a built-in map character stands for, as the compiler places it; false for a
// character without a built-in meaning.
bool BuiltInSourceCell(char ch, FieldCell& cell);

} // namespace kx
