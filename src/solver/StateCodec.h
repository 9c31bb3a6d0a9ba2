// CStateCodec: a play state as a few dozen bytes, relative to the level's start, for the solver.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "rules/PlayState.h"

namespace kx {

// The encoding keeps what the rules can change and nothing else:
// - worms as head cell and a chain of two-bit steps, their queues, frames and pace phases;
// - ghosts, and the generator only once it differs from the start;
// - creature codes only where they differ from what the worms and ghosts imply;
// - of the field, only the cells that can change at all: those with an item in either layer
//   and those under a switch number (eating and toggling touch nothing else), each as a short
//   code for "item eaten" or "layers swapped" where that says it all;
// - creature codes are looked for only in cells open to worms or ghosts in either layer.
// Times are kept relative to the counter of the coming step, so a state reached later is the
// same state: waiting costs nothing.
class CStateCodec {
public:
    // start: the state after PrepareLevel; stepTicks: counter ticks of one timer step;
    // phaseCap: ticks at least as long as any step interval a creature can get. A creature
    // that has waited longer is due whatever its interval becomes, so longer waits are one.
    CStateCodec(const PlayState& start, uint64_t stepTicks, uint64_t phaseCap);

    // Appends the encoding of s, standing before the timer step at counter, to out.
    void Encode(const PlayState& s, uint64_t counter, std::vector<uint8_t>& out) const;
    // Makes s the encoded state (s may hold any earlier state of this level). False for bytes
    // that are no encoding of this codec; s is then unspecified.
    bool Decode(const uint8_t* data, size_t size, uint64_t counter, PlayState& s) const;

private:
    CGameFieldBase base; // the start field without creatures
    std::vector<uint32_t> volatileCells;
    std::vector<uint32_t> creatureCells;
    CRandom startRandom;
    uint64_t stepTicks;
    uint64_t phaseCap;
    // Scratch for the creature codes the creatures imply; mutable so Encode stays const.
    mutable std::vector<uint8_t> implied;
    mutable std::vector<uint8_t> chainCodes;
    mutable std::vector<std::pair<size_t, uint8_t>> odd;
};

} // namespace kx
