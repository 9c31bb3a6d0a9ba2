// The solver: a search over key scripts on copies of the play state, fewest keys first.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "field/GameField.h"
#include "rules/HeadlessPlay.h"
#include "rules/PlayState.h"

namespace kx {

struct SolveLimits {
    uint64_t maxStates = 20000000;
    double maxSeconds = 120;
    uint64_t maxBytes = uint64_t{1} << 30; // the stored states' memory
    // Decodes every state right after encoding it and stops with EncodingFault unless the
    // result equals the real state (but for waits beyond the longest interval, which count as
    // one); for tests and fuzzing, several times slower.
    bool verifyEncoding = false;
    // Set from another thread, it stops the search with Cancelled (looked at every 16 states).
    const std::atomic<bool>* cancel = nullptr;
    // The states expanded so far, for a display in another thread.
    std::atomic<uint64_t>* progress = nullptr;
};

enum class SolveStatus {
    Solved,
    StateLimit,    // --max-states reached
    TimeLimit,     // --max-seconds reached
    MemoryLimit,   // the stored states reached maxBytes
    PlayTimeEnd,   // a line of play reached a day of level time undecided
    Unwinnable,    // every reachable state was searched, none wins
    EncodingFault, // a state the encoding does not keep (found by verifyEncoding)
    StateTooLarge, // a state's code is beyond what the store keeps (thousands of creatures)
    Cancelled,     // limits.cancel was set
};

struct SolveResult {
    SolveStatus status = SolveStatus::Unwinnable;
    std::vector<KeyPress> keys;
    uint64_t winMs = 0;
    uint64_t states = 0;      // states expanded
    uint64_t stored = 0;      // distinct states stored (expanded or waiting)
    uint64_t storedBytes = 0; // memory of the stored states: arena and hash table
    double seconds = 0;
    // Ghosts walk at the start or larvae may hatch them: the answer holds for this seed only.
    bool dependsOnSeed = false;
};

// Searches the scripts of the headless play (10 ms steps, cursor keys and TAB) on the level
// field with the generator seeded with seed: fewest keys first, among those the earliest win.
SolveResult Solve(const CGameFieldBase& field, uint64_t seed, const SolveLimits& limits);

// The same search from a state of a level in play: start as headless play leaves it before its
// step at level time atMs (rounded up to a step), with the keys up to atMs pressed. The keys
// found are the continuation only, at level times from atMs on; winMs is a level time too.
SolveResult SolveFrom(const PlayState& start, uint64_t atMs, const SolveLimits& limits);

} // namespace kx
