// Benchmark of the game window's upload: the 24-bit bottom-up surface widened into a 32-bit
// texture of 650 x 650 pixels, beside a memcpy of the same frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "FrameCopy.h"
#include "game/GameShell.h"
#include "game/sdl/SurfaceUpload.h"

namespace {

constexpr int32_t kSize = kx::kClientSize;

void BM_UploadFrame(benchmark::State& state) {
    kx::CDrawDevice24 surface;
    surface.Create(kSize, kSize);
    for (int32_t y = 0; y < kSize; ++y)
        for (int32_t x = 0; x < kSize; ++x)
            surface.SetPixel(x, y, static_cast<kx::Colour>(x * 7919 + y * 104729) & 0xFFFFFF);
    const int32_t pitch = kSize * 4;
    std::vector<uint8_t> texture(static_cast<size_t>(pitch) * kSize);
    for (auto _ : state) {
        kx::CopyTopDownToXrgb(surface, texture.data(), pitch);
        benchmark::DoNotOptimize(texture.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_UploadFrame)->Unit(benchmark::kMicrosecond);

// The yardstick: copying one 650 x 650 frame of 24-bit pixels.
void BM_MemcpyFrame(benchmark::State& state) {
    kxbench::CopyFrame(state, kSize, kSize);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

} // namespace
