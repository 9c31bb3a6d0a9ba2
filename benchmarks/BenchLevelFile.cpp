// Loading and writing a 1000 x 1000 level in memory, with a plain copy of its bytes for scale.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "field/LevelFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace {

// Rooms of mixed ground with wall grids, corn lines, scattered objects and a few switches,
// so that every layer has runs of many lengths.
kx::CGameFieldBase BigLevel() {
    kx::CGameFieldBase f;
    f.CreateField(1000, 1000);
    uint32_t seed = 2024;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int32_t y = 1; y < f.height - 1; ++y) {
        for (int32_t x = 1; x < f.width - 1; ++x) {
            kx::FieldCell& c = f.CellAt(x, y);
            uint32_t r = next();
            if (x % 40 == 0 || (y % 25 == 0 && x % 7 != 3)) {
                c.ground = static_cast<uint8_t>(kx::WALL_STYLE_BLUE + r % 7);
                c.flags = kx::FLAG_NO_WORMS | kx::FLAG_NO_GHOSTS;
            } else {
                c.ground = static_cast<uint8_t>(kx::GROUND_PLAIN + (x / 13 + y / 9) % 5);
                if (r % 50 == 0)
                    c.ground = kx::GROUND_WATER;
                if (y % 3 == 0 && x % 4 != 0)
                    c.item = kx::ITEM_CORN;
                if (r % 97 == 1)
                    c.objects[0] = static_cast<uint8_t>(r % 7);
                if (r % 331 == 2)
                    c.creature = kx::CREATURE_GHOST;
                if (r % 1009 == 3) {
                    c.switchNo = static_cast<uint8_t>(r % 51);
                    c.swGround = kx::GROUND_ICE;
                    c.swItem = kx::ITEM_ANTI_CORN;
                }
            }
            c.swFlags = c.flags;
        }
    }
    f.description = "Gro\xDF"
                    "e Ebene";
    return f;
}

const kx::CGameFieldBase& Level() {
    static const kx::CGameFieldBase level = BigLevel();
    return level;
}

void Written(kx::CMemBlock& out) {
    kx::CMemSerializer s(out, true);
    kx::WriteLevel(Level(), s);
}

void BM_WriteLevel1000(benchmark::State& state) {
    size_t bytes = 0;
    for (auto _ : state) {
        kx::CMemBlock out;
        Written(out);
        bytes = out.size;
        benchmark::DoNotOptimize(out.data);
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteLevel1000)->Unit(benchmark::kMillisecond);

void BM_ReadLevel1000(benchmark::State& state) {
    kx::CMemBlock file;
    Written(file);
    for (auto _ : state) {
        kx::CGameFieldBase field;
        kx::CMemSerializer s(file, false);
        if (!kx::ReadLevel(field, s))
            state.SkipWithError("level did not read");
        benchmark::DoNotOptimize(field.cells.data());
    }
    state.counters["file_bytes"] = static_cast<double>(file.size);
}
BENCHMARK(BM_ReadLevel1000)->Unit(benchmark::kMillisecond);

// A copy of the 21 MB of cells, the floor that any load has to pay.
void BM_CopyCells1000(benchmark::State& state) {
    const std::vector<kx::FieldCell>& cells = Level().cells;
    std::vector<kx::FieldCell> copy(cells.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), cells.data(), cells.size() * sizeof(kx::FieldCell));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyCells1000)->Unit(benchmark::kMillisecond);

} // namespace
