// A tape: the seed, the key script and optionally the end time and expected result of a play.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "field/HeadlessPlay.h"

namespace kxtool {

// Text form, one entry per line; blank lines and lines starting with '#' are skipped:
//   krawlix-tape 1            the format version, first
//   seed 42                   the generator's seed (default 1)
//   keys 0:right,1500:down    the key script (may be empty)
//   until 60000               optional: the level time at which the play stops
//   expect won                optional: won, lost or running
struct Tape {
    uint64_t seed = 1;
    std::vector<kx::KeyPress> keys;
    std::optional<uint64_t> untilMs;
    std::optional<std::string> expect;
};

inline constexpr int kTapeVersion = 1;

bool ParseTape(const std::string& text, Tape& tape, std::string& error);
std::string FormatTape(const Tape& tape);
bool ParseUInt64(const std::string& text, uint64_t& value);

} // namespace kxtool
