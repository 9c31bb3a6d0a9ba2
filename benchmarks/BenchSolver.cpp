// The solver's pace and footprint: states expanded per second on a one-worm puzzle of the game,
// bytes held per visited state on a one-worm field of 20 x 20 cells.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "field/LevelSource.h"
#include "field/Solver.h"

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

// Solves the level once per iteration; false when the search does not end in a win.
bool SolveEach(benchmark::State& state, const kx::CGameFieldBase& field, kx::SolveResult& last,
               uint64_t& states) {
    for (auto _ : state) {
        last = kx::Solve(field, 1, kx::SolveLimits{});
        if (last.status != kx::SolveStatus::Solved) {
            state.SkipWithError("the level was not solved");
            return false;
        }
        states += last.states;
        benchmark::DoNotOptimize(last.keys.data());
    }
    return true;
}

// A five-key puzzle of growing on corn that the search needs some 50 000 states for.
void BM_StatesPerSecondOnAOneWormPuzzle(benchmark::State& state) {
    kx::CGameFieldBase field;
    if (!LoadSource(state, KX_SOURCE_DIR "/data/levels/LangUndLaenger.txt", field))
        return;
    kx::SolveResult last;
    uint64_t states = 0;
    if (!SolveEach(state, field, last, states))
        return;
    state.counters["states"] = static_cast<double>(last.states);
    state.counters["states/s"] =
        benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StatesPerSecondOnAOneWormPuzzle)->Unit(benchmark::kMillisecond);

// One worm in an open 20 x 20 room: how much the visited set costs per state.
void BM_BytesPerStateOnA20By20Field(benchmark::State& state) {
    kx::CGameFieldBase field;
    if (!LoadSource(state, KX_SOURCE_DIR "/tests/data/solver/arena.txt", field))
        return;
    kx::SolveResult last;
    uint64_t states = 0;
    if (!SolveEach(state, field, last, states) || last.states == 0)
        return;
    state.counters["states"] = static_cast<double>(last.states);
    state.counters["bytes/state"] =
        static_cast<double>(last.storedBytes) / static_cast<double>(last.states);
}
BENCHMARK(BM_BytesPerStateOnA20By20Field)->Unit(benchmark::kMillisecond);

} // namespace
