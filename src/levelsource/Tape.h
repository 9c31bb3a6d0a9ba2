// A tape: the seed, the key script and optionally the end time and expected result of a play.
// The text form is described in docs/level-source.md.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rules/HeadlessPlay.h"

namespace kx {

struct Tape {
    uint64_t seed = 1;
    std::vector<KeyPress> keys;
    std::optional<uint64_t> untilMs;
    std::optional<std::string> expect; // "won", "lost" or "running"
};

inline constexpr int kTapeVersion = 1;

// False with error "line N: what is wrong" for anything but a tape.
bool ParseTape(const std::string& text, Tape& tape, std::string& error);
std::string FormatTape(const Tape& tape);
// Reads a tape file (bounded like every whole-file read, a pipe alike); false with error
// naming the file and the reason (UTF-8).
bool ReadTapeFile(const std::string& path, Tape& tape, std::string& error);
// A decimal number with nothing before or after it.
bool ParseUInt64(const std::string& text, uint64_t& value);

} // namespace kx
