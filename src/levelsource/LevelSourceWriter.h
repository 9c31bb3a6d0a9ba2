// Writing a game field back as a level source, the inverse of CompileLevelSource.
#pragma once

#include <string>

#include "field/GameField.h"

namespace kx {

// The source whose compilation gives exactly this field: built-in characters where a cell
// matches one, legend entries for every other kind of cell, the description as description
// lines. False (with a reason in UTF-8) when a source cannot carry the field: more kinds of
// cell than printable characters, or a description line that ends in a carriage return or
// holds a byte without a Windows-1252 character.
bool DecompileLevelSource(const CGameFieldBase& field, std::string& source, std::string& error);

} // namespace kx
