// A debug check that the field's creature layer and the worm and ghost lists agree.
#pragma once

#include <string>

#include "PlayState.h"

namespace kx {

// Empty when every creature code in the field comes from exactly one listed creature and
// every listed creature's cells carry its codes; otherwise a description of the first
// disagreement. Meant to run between timer steps (the ghost marking is settled then).
std::string CheckCreatureLayer(const PlayState& play);

} // namespace kx
