// The yardstick the drawing benchmarks stand beside: one memcpy of a 24-bit frame.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/Bitmap24.h"

namespace kxbench {

inline void CopyFrame(benchmark::State& state, int32_t width, int32_t height) {
    const size_t bytes = static_cast<size_t>(kx::RowStride(width)) * static_cast<size_t>(height);
    std::vector<uint8_t> from(bytes, 0x5A);
    std::vector<uint8_t> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

} // namespace kxbench
