// The JSON picture of a game field: size, description and one array per cell field.
#pragma once

#include <cstdint>

#include "Json.h"
#include "field/GameField.h"

namespace kxtool {

// Writes one object: "version", "width", "height", "description" (as UTF-8) and an array of
// width x height integers in cell index order for each of the 21 cell fields ("ground",
// "object1".."object6", "item", "creature", "flags", "swGround", "swObject1".."swObject6",
// "swItem", "swFlags", "switchNo", "extraFlags").
void WriteFieldJson(JsonWriter& json, const kx::CGameFieldBase& field, uint32_t version);

} // namespace kxtool
