// Fuzzes DrawText: any font bytes and text draw and measure within the surface's pixels.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first bytes are the font block (short input is padded with zeros), the rest the text.
    auto font = std::make_shared<std::vector<uint8_t>>(kx::kFontBlockSize, 0);
    const size_t fontBytes = size < kx::kFontBlockSize ? size : kx::kFontBlockSize;
    if (fontBytes > 0) {
        std::memcpy(font->data(), data, fontBytes);
    }
    std::string_view text(reinterpret_cast<const char*>(data) + fontBytes, size - fontBytes);
    if (text.empty()) {
        // Without a text of their own, draw every code once.
        static char all[256];
        for (int i = 0; i < 256; ++i) {
            all[i] = static_cast<char>(i);
        }
        text = std::string_view(all, sizeof all);
    }
    kx::CFontTable table;
    table.SetLoadingDone();
    // A block of the wrong size must never become a font.
    if (table.SetFontBytes(0, std::vector<uint8_t>(data, data + fontBytes)) !=
        (fontBytes == kx::kFontBlockSize)) {
        __builtin_trap();
    }
    kx::CDrawDevice24 surface;
    surface.Create(41, 23);
    surface.SetFontTable(&table);
    surface.SetFontData(font);
    for (bool proportional : {true, false}) {
        surface.SetProportional(proportional);
        surface.MeasureText(text);
        for (auto [x, y] : {std::pair{0, 0}, {-17, -9}, {30, 15}, {-2000000000, 2000000000}}) {
            surface.DrawText(x, y, text, 0xFFEEDD, true);
        }
    }
    surface.SetFont(0);
    surface.DrawText(3, 3, text, 0x123456);
    return 0;
}
