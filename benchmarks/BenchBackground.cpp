// Benchmarks of the generated background: making one and tiling it over a 650 × 650 frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "FrameCopy.h"
#include "game/Background.h"
#include "graphics/DrawDevice24.h"
#include "rules/Random.h"

namespace {

void BM_GenerateBackground(benchmark::State& state) {
    kx::CRandom random(2024);
    kx::CBitmap24 background;
    for (auto _ : state) {
        kx::GenerateBackground(background, random);
        benchmark::DoNotOptimize(background.GetPixels());
    }
}
BENCHMARK(BM_GenerateBackground)->Unit(benchmark::kMillisecond);

// An offset that is not a multiple of the picture, so four clipped tiles are drawn.
void BM_TileBackground650(benchmark::State& state) {
    kx::CRandom random(2024);
    kx::CBitmap24 background;
    kx::GenerateBackground(background, random);
    kx::CDrawDevice24 surface;
    surface.Create(650, 650);
    for (auto _ : state) {
        kx::TileBackground(surface, background, 1234, 987);
        benchmark::DoNotOptimize(surface.GetPixels());
    }
}
BENCHMARK(BM_TileBackground650)->Unit(benchmark::kMicrosecond);

// The yardstick: one memcpy of the whole 650 × 650 frame.
void BM_MemcpyFrame650(benchmark::State& state) {
    kxbench::CopyFrame(state, 650, 650);
}
BENCHMARK(BM_MemcpyFrame650)->Unit(benchmark::kMicrosecond);

} // namespace
