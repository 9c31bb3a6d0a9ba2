// The solver: a breadth-first search over key scripts on copies of the play state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "GameField.h"
#include "HeadlessPlay.h"
#include "PlayState.h"

namespace kx {

struct SolveLimits {
    uint64_t maxStates = 500000; // about 650 MB at most on the built-in levels
    double maxSeconds = 120;
};

enum class SolveStatus {
    Solved,
    StateLimit,  // --max-states reached
    TimeLimit,   // --max-seconds reached
    PlayTimeEnd, // a line of play reached a day of level time undecided
    Unwinnable,  // every reachable state was searched, none wins
};

struct SolveResult {
    SolveStatus status = SolveStatus::Unwinnable;
    std::vector<KeyPress> keys;
    uint64_t winMs = 0;
    uint64_t states = 0;      // distinct states expanded
    uint64_t storedBytes = 0; // encodings held in the visited set
    double seconds = 0;
};

// The compact encoding of a state standing before the timer step at counter: worms, ghosts,
// pace phases relative to counter, the generator and the cells that differ from start.
std::string EncodePlayState(const PlayState& state, uint64_t counter, const CGameFieldBase& start);
// The inverse: a state that plays on as the encoded one did. False for a foreign encoding.
bool DecodePlayState(const std::string& code, uint64_t counter, uint64_t stepTicks,
                     const CGameFieldBase& start, PlayState& state);

// Searches the scripts of the headless play (10 ms steps, cursor keys and TAB) on the level
// field with the generator seeded with seed: fewest keys first, among those the earliest win.
SolveResult Solve(const CGameFieldBase& field, uint64_t seed, const SolveLimits& limits);

} // namespace kx
