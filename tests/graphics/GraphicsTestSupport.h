// Helpers of the graphics tests: .bmp and font bytes built in code, surfaces and their pixels.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "graphics/Bitmap24.h"
#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace kxtest {

inline void PutLE(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

struct BmpOptions {
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint16_t planes = 1;
    bool negativeHeight = false;
    uint32_t extraGap = 0; // bytes between the headers and the pixels
    size_t dropAtEnd = 0;  // bytes cut off the end of the file
    char magic[2] = {'B', 'M'};
};

// A .bmp of the given size whose pixel (x, y) (top-down) has colour(x, y); padding bytes are
// 0xEE so that a reader that takes them for pixels shows it.
inline std::vector<uint8_t> MakeBmp(int32_t width, int32_t height,
                                    const std::function<kx::Colour(int, int)>& colour,
                                    const BmpOptions& options = {}) {
    const int32_t stride = (width * 3 + 3) & ~3;
    const size_t imageSize = static_cast<size_t>(stride) * height;
    const uint32_t offset = 54 + options.extraGap;
    std::vector<uint8_t> bytes(offset + imageSize, 0);
    bytes[0] = static_cast<uint8_t>(options.magic[0]);
    bytes[1] = static_cast<uint8_t>(options.magic[1]);
    PutLE(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
    PutLE(bytes, 10, offset, 4);
    PutLE(bytes, 14, 40, 4);
    PutLE(bytes, 18, static_cast<uint32_t>(width), 4);
    PutLE(bytes, 22, static_cast<uint32_t>(options.negativeHeight ? -height : height), 4);
    PutLE(bytes, 26, options.planes, 2);
    PutLE(bytes, 28, options.bitsPerPixel, 2);
    PutLE(bytes, 30, options.compression, 4);
    PutLE(bytes, 34, static_cast<uint32_t>(imageSize), 4);
    for (uint32_t i = 54; i < offset; ++i) {
        bytes[i] = 0xAB;
    }
    for (int32_t fileRow = 0; fileRow < height; ++fileRow) {
        const int32_t y = height - 1 - fileRow; // bottom row first
        uint8_t* row = bytes.data() + offset + static_cast<size_t>(stride) * fileRow;
        for (int32_t x = 0; x < width; ++x) {
            const kx::Colour c = colour(x, y);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
        for (int32_t i = width * 3; i < stride; ++i) {
            row[i] = 0xEE;
        }
    }
    bytes.resize(bytes.size() - options.dropAtEnd);
    return bytes;
}

// A distinct colour for every pixel of pictures up to 256 x 256; the blue byte is always 0x11.
inline kx::Colour Pattern(int x, int y) {
    return (static_cast<uint32_t>(x) & 0xFF) << 16 | (static_cast<uint32_t>(y) & 0xFF) << 8 | 0x11;
}

inline bool LoadFromBytes(kx::CBitmap24& bitmap, const std::vector<uint8_t>& bytes,
                          bool topDown = false) {
    kx::CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    kx::CMemSerializer store(block, false);
    return bitmap.LoadBitmap(store, topDown);
}

inline kx::CBitmap24 PatternBitmap(int32_t width, int32_t height) {
    kx::CBitmap24 bitmap;
    LoadFromBytes(bitmap, MakeBmp(width, height, Pattern));
    return bitmap;
}

// A font block with every glyph empty; Glyph() fills one in.
class FontBuilder {
public:
    explicit FontBuilder(int32_t nominalWidth) : bytes(kx::kFontBlockSize, 0) {
        PutLE(bytes, 0, static_cast<uint32_t>(nominalWidth), 4);
    }
    // rows[r] is the bit row of cell row top + r (bit j = column j of the cell).
    FontBuilder& Glyph(int code, int32_t left, int32_t top, int32_t width, int32_t height,
                       const std::vector<uint32_t>& rows = {}) {
        const size_t at = 8 + static_cast<size_t>(code - 32) * 144;
        PutLE(bytes, at, static_cast<uint32_t>(left), 4);
        PutLE(bytes, at + 4, static_cast<uint32_t>(top), 4);
        PutLE(bytes, at + 8, static_cast<uint32_t>(width), 4);
        PutLE(bytes, at + 12, static_cast<uint32_t>(height), 4);
        for (size_t r = 0; r < rows.size(); ++r) {
            const size_t cellRow = static_cast<size_t>(top) + r;
            if (cellRow < 32) {
                PutLE(bytes, at + 16 + 4 * cellRow, rows[r], 4);
            }
        }
        return *this;
    }
    // A filled box: every cell pixel of the box is inked.
    FontBuilder& Box(int code, int32_t left, int32_t top, int32_t width, int32_t height) {
        uint32_t bits = 0;
        for (int32_t j = left; j < left + width && j < 32; ++j) {
            if (j >= 0) {
                bits |= 1u << j;
            }
        }
        return Glyph(code, left, top, width, height, std::vector<uint32_t>(height, bits));
    }
    kx::FontData Build() const { return std::make_shared<const std::vector<uint8_t>>(bytes); }

    std::vector<uint8_t> bytes;
};

// A surface of that size cleared to the colour.
struct TestSurface : kx::CDrawDevice24 {
    TestSurface(int32_t w, int32_t h, kx::Colour colour = 0) {
        Create(w, h);
        Clear(colour);
    }
};

// Row strings of a surface region: one character per pixel, '#' where the pixel has the
// colour ink, '.' elsewhere.
inline std::vector<std::string> Picture(const kx::CDrawDevice24& surface, kx::Colour ink) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < surface.GetHeight(); ++y) {
        std::string row;
        for (int32_t x = 0; x < surface.GetWidth(); ++x) {
            row += surface.GetPixel(x, y) == ink ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace kxtest
