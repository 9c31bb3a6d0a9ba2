// Fuzzes the text panel: any text is split, laid out and drawn within the surface's pixels.
#include <cstdint>
#include <string>
#include <vector>

#include "game/TextPanel.h"
#include "graphics/Bitmap24.h"
#include "graphics/FontTable.h"
#include "graphics/ImageList24.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace {

// A 16 × 16 sheet of 32 × 32 cells in a pattern with magenta holes, as a .bmp file image.
std::vector<uint8_t> PatternSheet() {
    const int32_t side = 16 * 32;
    std::vector<uint8_t> bytes = {'B', 'M'};
    const int32_t stride = kx::RowStride(side);
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put32(static_cast<uint32_t>(kx::kBitmapHeadersSize + stride * side));
    put32(0);
    put32(kx::kBitmapHeadersSize);
    auto info = kx::MakeBitmapInfoHeader(side, side);
    bytes.insert(bytes.end(), info.begin(), info.end());
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < stride; ++x) {
            bool hole = ((x / 3 + y) % 7) < 3;
            bytes.push_back(hole && x % 3 != 1 ? 0xFF : static_cast<uint8_t>(x * 7 + y));
        }
    }
    return bytes;
}

struct Resources {
    Resources() {
        std::vector<uint8_t> font(kx::kFontBlockSize);
        for (size_t i = 0; i < font.size(); ++i)
            font[i] = static_cast<uint8_t>(i * 37 + i / 253);
        table.SetLoadingDone();
        for (int32_t slot = 0; slot < kx::kFontSlots; ++slot)
            table.SetFontBytes(slot, font);
        std::vector<uint8_t> sheet = PatternSheet();
        for (kx::CImageList24* list : {&opaque, &transparent}) {
            kx::CMemBlock block;
            block.CopyFrom(sheet.data(), static_cast<uint32_t>(sheet.size()));
            kx::CMemSerializer store(block, false);
            list->LoadSheet(store, 32, 32, list == &opaque ? kx::kNoTransparentColour : 0xFF00FF);
        }
    }
    kx::CFontTable table;
    kx::CImageList24 opaque;
    kx::CImageList24 transparent;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Resources resources;
    kx::CTextPanel panel;
    panel.SetText(std::string(reinterpret_cast<const char*>(data), size));
    panel.Show();
    if (panel.IsVisible() == panel.GetLines().empty())
        __builtin_trap();
    kx::CDrawDevice24 surface;
    surface.SetFontTable(&resources.table);
    surface.Create(97, 61);
    panel.Draw(surface, resources.opaque, resources.transparent);
    return 0;
}
