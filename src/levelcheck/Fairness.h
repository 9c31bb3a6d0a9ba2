// Whether a level with ghosts asks for care or for luck: one key script over many seeds and
// start delays, and how long a worm that is never steered lives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "field/GameField.h"
#include "rules/HeadlessPlay.h"

namespace kx {

struct FairnessOptions {
    uint32_t seeds = 20;                           // the seeds 1 .. seeds
    std::vector<uint64_t> delaysMs{0, 1000, 2000}; // every key later by this much
    uint64_t untilMs = 600000;                     // level time of a play, before its delay
    uint64_t unsteeredMs = 30000;                  // how long an unsteered worm is watched
};

// How the first worm of a play died: "ghost" (a ghost walked into the worm or the worm into
// it), "water", "arrow" (against an arrow), "worm" (into a worm); "corn left" when the worms
// left without the corn.
struct FairnessPlay {
    uint64_t seed = 1;
    uint64_t delayMs = 0;
    PlayResult result = PlayResult::Running;
    uint64_t timeMs = 0; // the level's end, or the last step of a play still running
    uint64_t deathMs = 0;
    std::string cause; // empty while no worm died
};

struct UnsteeredSurvival {
    uint64_t seed = 1;
    uint64_t survivedMs = 0; // level time of the first death, or the whole watch
    bool outlived = false;   // no worm died within the watch
};

struct FairnessReport {
    bool dependsOnSeed = false;      // false: only seed 1 was played, for the seed changes nothing
    std::vector<FairnessPlay> plays; // by seed, then by delay
    std::vector<UnsteeredSurvival> unsteered;
    uint32_t won = 0;
};

FairnessReport MeasureFairness(const CGameFieldBase& field, const std::vector<KeyPress>& keys,
                               const FairnessOptions& options);

} // namespace kx
