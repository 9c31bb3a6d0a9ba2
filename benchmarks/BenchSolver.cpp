// The solver's pace and footprint: states expanded per second on a one-worm puzzle of the game,
// bytes held per visited state on a one-worm field of 20 x 20 cells.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "levelsource/LevelSource.h"
#include "solver/Solver.h"

namespace {

// False (and the benchmark skipped with the reason) when the source does not compile.
bool LoadSource(benchmark::State& state, const std::string& path, kx::CGameFieldBase& field) {
    std::ifstream in(path, std::ios::binary);
    std::string error = "cannot be read";
    if (in.is_open()) {
        const std::string source((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
        if (kx::CompileLevelSource(source, field, error))
            return true;
    }
    state.SkipWithError((path + ": " + error).c_str());
    return false;
}

// Solves the level of the source once per iteration, adding up the states expanded; the last
// result with its size as the counter "states", or nothing when the benchmark was skipped.
std::optional<kx::SolveResult> SolveEach(benchmark::State& state, const std::string& path,
                                         uint64_t& states) {
    kx::CGameFieldBase field;
    if (!LoadSource(state, path, field))
        return std::nullopt;
    kx::SolveResult last;
    for (auto _ : state) {
        last = kx::Solve(field, 1, kx::SolveLimits{});
        if (last.status != kx::SolveStatus::Solved || last.states == 0) {
            state.SkipWithError("the level was not solved");
            return std::nullopt;
        }
        states += last.states;
        benchmark::DoNotOptimize(last.keys.data());
    }
    state.counters["states"] = static_cast<double>(last.states);
    return last;
}

// A five-key puzzle of growing on corn that the search needs some 50 000 states for.
void BM_StatesPerSecondOnAOneWormPuzzle(benchmark::State& state) {
    uint64_t states = 0;
    if (!SolveEach(state, KX_SOURCE_DIR "/data/levels/LangUndLaenger.txt", states))
        return;
    state.counters["states/s"] =
        benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StatesPerSecondOnAOneWormPuzzle)->Unit(benchmark::kMillisecond);

// One worm in an open 20 x 20 room with corn all over: a search of a million states, which
// fills the store far beyond its first block and table, and what it holds per stored state.
void BM_BytesPerStateOnA20By20Field(benchmark::State& state) {
    kx::CGameFieldBase field;
    if (!LoadSource(state, KX_SOURCE_DIR "/tests/data/solver/arena.txt", field))
        return;
    // More corn than the arena's three: the search runs into its limit instead of a win.
    for (int32_t y : {4, 8, 12, 15})
        for (int32_t x : {4, 9, 15})
            field.CellAt(x, y).item = kx::ITEM_CORN;
    kx::SolveLimits limits;
    limits.maxStates = 1000000;
    kx::SolveResult last;
    for (auto _ : state) {
        last = kx::Solve(field, 1, limits);
        benchmark::DoNotOptimize(last.stored);
    }
    if (last.status != kx::SolveStatus::StateLimit) {
        state.SkipWithError("the search ended before its state limit");
        return;
    }
    state.counters["stored"] = static_cast<double>(last.stored);
    state.counters["bytes/state"] =
        static_cast<double>(last.storedBytes) / static_cast<double>(last.stored);
}
BENCHMARK(BM_BytesPerStateOnA20By20Field)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
