// The JSON picture of a game field (size, description, one array per cell field) and of the
// creatures of a play state.
#pragma once

#include <cstdint>

#include "Json.h"
#include "field/GameField.h"
#include "rules/PlayState.h"

namespace kxtool {

// Writes one object: "version", "width", "height", "description" (as UTF-8) and an array of
// width x height integers in cell index order for each of the 21 cell fields ("ground",
// "object1".."object6", "item", "creature", "flags", "swGround", "swObject1".."swObject6",
// "swItem", "swFlags", "switchNo", "extraFlags").
void WriteFieldJson(JsonWriter& json, const kx::CGameFieldBase& field, uint32_t version);

// Writes the members "cornLeft", "activeWorm", "worms" (state, length, direction, speedIndex,
// segments from the head) and "ghosts" (state, x, y, direction, marked, speedIndex) of a play
// state into the open object.
void WritePlayStateJson(JsonWriter& json, const kx::PlayState& play);

} // namespace kxtool
