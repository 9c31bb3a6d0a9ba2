// PlayState: everything the rules change while a level runs, as one value that copies and compares.
#pragma once

#include <cstdint>
#include <vector>

#include "Creatures.h"
#include "Random.h"
#include "field/GameField.h"

namespace kx {

// How a level stands after a timer step. The worm pass decides it: the level ends when the
// last worm has left the list, won when no corn is left then.
enum class PlayResult { Won, Lost, Running };

// A snapshot of a level in play. Copying one and stepping the copy is how a restart, a test
// or a search looks ahead; two equal states play on identically.
struct PlayState {
    CGameFieldBase field;
    std::vector<Worm> worms;
    std::vector<Ghost> ghosts;
    int32_t activeWorm = 0;
    int32_t cornLeft = 0;
    bool notInLevel = false;
    uint64_t now = 0; // the counter value of the last timer step
    CRandom random;   // ghost walks (and, in the game, the background)

    bool operator==(const PlayState&) const = default;
};

// Whether the generator's seed can change how a level plays from this state: a ghost walks,
// or a larva in either layer may hatch one.
bool DependsOnSeed(const PlayState& state);

} // namespace kx
