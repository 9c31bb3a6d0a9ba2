// Fuzz target for the solver: small fields of every kind of cell, searched with every encoded
// state decoded again; a solution found must win when the real play replays it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "levelsource/LevelSource.h"
#include "rules/Game.h"
#include "rules/HeadlessPlay.h"
#include "solver/Solver.h"

namespace {

// Map characters of the level notation, and two of this target's own: a gate that switch 0
// opens and corn hidden in the switch layer of switch 0.
constexpr char kCells[] = "#.~=cka+-FSxlWwbgLR<>^vBfdNG01DH";
constexpr size_t kCellKinds = sizeof(kCells) - 1;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int width = 3 + data[0] % 10;
    const int height = 3 + data[1] % 10;
    const uint64_t seed = data[2];
    std::string source = "legend D base=@ swground=64 swflags=0 switch=0\n"
                         "legend H switem=0 switch=0\n"
                         "map\n";
    size_t next = 3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            source += kCells[next < size ? data[next++] % kCellKinds : 0];
        source += '\n';
    }
    source += "end\n";
    kx::CGameFieldBase field;
    std::string error;
    if (!kx::CompileLevelSource(source, field, error))
        return 0;

    kx::SolveLimits limits;
    limits.maxStates = 300;
    limits.maxSeconds = 10;
    limits.verifyEncoding = true;
    const kx::SolveResult r = kx::Solve(field, seed, limits);
    if (r.status == kx::SolveStatus::EncodingFault)
        __builtin_trap();
    if (r.status == kx::SolveStatus::Solved) {
        kx::CGame game;
        game.Random().Seed(seed);
        game.play.field = field;
        kx::PlayOptions options;
        options.keys = r.keys;
        options.untilMs = r.winMs;
        const kx::PlayOutcome replay = kx::PlayHeadless(game, options);
        if (replay.result != kx::PlayResult::Won || replay.timeMs != r.winMs)
            __builtin_trap();
    }
    return 0;
}
