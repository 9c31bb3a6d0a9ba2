// Benchmarks of the drawing hot paths: DrawCells by field size, full-surface fill and darkening.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "FrameCopy.h"
#include "fielddraw/DrawCells.h"
#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"
#include "storage/MemSerializer.h"

namespace {

constexpr int kSurface = 650;
constexpr kx::Colour kKey = 0xFF00FF;

// A sheet of 16 columns of 32 x 32 cells; the transparent one keys out about half of each cell.
void LoadSheet(kx::CImageList24& sheet, int rows, bool transparent) {
    kx::CBitmap24 picture;
    picture.CreateBitmap(16 * 32, rows * 32, 0);
    for (int y = 0; y < picture.GetHeight(); ++y) {
        // File rows run bottom-up; the pattern is laid out in file order.
        uint8_t* row = picture.RowFromTop(picture.GetHeight() - 1 - y);
        for (int x = 0; x < picture.GetWidth(); ++x) {
            const int cx = x % 32 - 16;
            const int cy = y % 32 - 16;
            const bool keyed = transparent && cx * cx + cy * cy > 120;
            const kx::Colour c = keyed ? kKey : static_cast<kx::Colour>(x * 7919 + y * 104729);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    const std::vector<uint8_t> bytes = kx::EncodeBmp(picture);
    kx::CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    kx::CMemSerializer store(block, false);
    sheet.LoadSheet(store, 32, 32, transparent ? kKey : kx::kNoTransparentColour);
}

// Walls around plain ground with a turn, a corn and a creature sprinkled over it, about as
// busy as a played level.
void FillField(kx::CGameFieldBase& field, int size) {
    field.CreateField(size, size);
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            kx::FieldCell& c = field.CellAt(x, y);
            const int n = x * 31 + y * 17;
            if (n % 5 == 0) {
                c.objects[0] = kx::OBJ_TURN_LEFT;
            }
            if (n % 3 == 0) {
                c.item = kx::ITEM_CORN;
            }
            if (n % 11 == 0) {
                c.creature = kx::CREATURE_GHOST;
            }
        }
    }
}

struct Scene {
    Scene() {
        LoadSheet(full, 8, false);
        LoadSheet(trans, 16, true);
        surface.Create(kSurface, kSurface);
    }
    kx::CImageList24 full;
    kx::CImageList24 trans;
    kx::CDrawDevice24 surface;
};

void BM_DrawCells(benchmark::State& state) {
    static Scene scene;
    kx::CGameFieldBase field;
    FillField(field, static_cast<int>(state.range(0)));
    // The view in the middle of the field, as the camera would have it.
    const int32_t ox = (field.width * 32 - kSurface) / 2;
    const int32_t oy = (field.height * 32 - kSurface) / 2;
    for (auto _ : state) {
        kx::DrawCells(field, scene.surface, scene.full, scene.trans, ox, oy);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCells)->Arg(10)->Arg(21)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_FillRectFullSurface(benchmark::State& state) {
    kx::CDrawDevice24 surface;
    surface.Create(kSurface, kSurface);
    for (auto _ : state) {
        surface.FillRect(0, 0, kSurface - 1, kSurface - 1, 0x123456);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * surface.GetStride() * kSurface);
}
BENCHMARK(BM_FillRectFullSurface)->Unit(benchmark::kMicrosecond);

void BM_MemsetFullSurface(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(kx::RowStride(kSurface)) * kSurface;
    std::vector<uint8_t> pixels(bytes);
    for (auto _ : state) {
        std::memset(pixels.data(), 0x56, bytes);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_MemsetFullSurface)->Unit(benchmark::kMicrosecond);

void BM_DarkenRectFullSurface(benchmark::State& state) {
    kx::CDrawDevice24 surface;
    surface.Create(kSurface, kSurface);
    surface.Clear(0xFFFFFF);
    for (auto _ : state) {
        surface.DarkenRect(0, 0, kSurface - 1, kSurface - 1, 1);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * surface.GetStride() * kSurface);
}
BENCHMARK(BM_DarkenRectFullSurface)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFullSurface(benchmark::State& state) {
    kxbench::CopyFrame(state, kSurface, kSurface);
}
BENCHMARK(BM_MemcpyFullSurface)->Unit(benchmark::kMicrosecond);

} // namespace
