// Reading level streams of versions 0 to 4 and writing version 4.
#pragma once

#include <cstdint>
#include <string>

#include "GameField.h"
#include "storage/Store.h"

namespace kx {

inline constexpr uint32_t kLevelMagic = 0xB30A313C;
inline constexpr uint32_t kLevelVersion = 4;

// Replaces the field's size, cells and description; false for a stream that is not a
// level. May raise CTBException (a missing 'meta' record); the field is then not playable.
// A failed read empties the description and keeps the old size and cells.
bool ReadLevel(CGameFieldBase& field, IStore& store);
// The same, reporting every failure (raised errors included) by its result only. reason
// receives the failure's text (Windows-1252), version the header's version once it was read,
// cutShort (on success) whether a version-4 record tree ended early and was used as far as
// it went.
bool ReadLevelNoThrow(CGameFieldBase& field, IStore& store, std::string* reason = nullptr,
                      uint32_t* version = nullptr, bool* cutShort = nullptr);
// Writes the header with version 4 and the record tree; false if a write failed.
bool WriteLevel(const CGameFieldBase& field, IStore& store);

} // namespace kx
