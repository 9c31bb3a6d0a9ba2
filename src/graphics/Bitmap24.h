// CBitmap24, a 24-bit picture in the bottom-up layout of a .bmp file, and the colour values.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/Store.h"

namespace kx {

// 0x00RRGGBB: the low byte is the first (blue) byte of a pixel.
using Colour = uint32_t;
inline constexpr Colour kNoTransparentColour = 0xFFFFFFFF;

inline constexpr int32_t kBitmapFileHeaderSize = 14;
inline constexpr int32_t kBitmapInfoHeaderSize = 40;
inline constexpr int32_t kBitmapHeadersSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;

// Bytes per row: three per pixel, padded to a multiple of four. 0 for widths below 1 and
// for widths whose rows would not fit in 32 bits. Inline: every row address asks for it.
inline int32_t RowStride(int32_t width) {
    if (width < 1 || width > (0x7FFFFFFF - 3) / 3) {
        return 0;
    }
    return (width * 3 + 3) & ~3;
}

// The 40-byte info header of an uncompressed bottom-up 24-bit picture of that size.
std::array<uint8_t, kBitmapInfoHeaderSize> MakeBitmapInfoHeader(int32_t width, int32_t height);

class CBitmap24;

// The bytes of a .bmp file of the picture: its headers (with 72 dpi) and its pixel rows;
// empty for a picture without pixels.
std::vector<uint8_t> EncodeBmp(const CBitmap24& bitmap);

class CBitmap24 {
public:
    CBitmap24() = default;
    CBitmap24(const CBitmap24&) = delete;
    CBitmap24& operator=(const CBitmap24&) = delete;
    CBitmap24(CBitmap24&&) = default;
    CBitmap24& operator=(CBitmap24&&) = default;

    // Reads an uncompressed 24-bit bottom-up .bmp; false for anything else. With topDown the
    // rows are turned over in memory. A file whose pixel rows are shorter than its header
    // says, or whose size would not fit in memory, is refused without reading past its end.
    bool LoadBitmap(IStore& store, bool topDown);
    // Raises the file error when the file cannot be opened.
    bool LoadBitmapFile(const std::string& path, bool topDown);
    // A picture of that size filled with the colour; false if it cannot be allocated.
    bool CreateBitmap(int32_t width, int32_t height, Colour colour);

    bool IsValid() const { return valid; }
    int32_t GetWidth() const { return width; }
    int32_t GetHeight() const { return height; }
    int32_t GetStride() const { return RowStride(width); }
    // Row y counted from the top; no range check.
    const uint8_t* RowFromTop(int32_t y) const {
        return pixels.data() + static_cast<size_t>(GetStride()) * (height - 1 - y);
    }
    uint8_t* RowFromTop(int32_t y) {
        return pixels.data() + static_cast<size_t>(GetStride()) * (height - 1 - y);
    }
    // The pixel's value; 0 outside the picture or when none is loaded.
    Colour GetPixel(int32_t x, int32_t y) const;
    uint8_t* GetPixels() { return pixels.data(); }
    const uint8_t* GetPixels() const { return pixels.data(); }
    const std::array<uint8_t, kBitmapHeadersSize>& GetFileHeader() const { return fileHeader; }

private:
    bool Reserve(uint32_t bytes);

    std::vector<uint8_t> pixels; // its size is the capacity, reused by a later picture
    int32_t width = 0;
    int32_t height = 0;
    std::array<uint8_t, kBitmapHeadersSize> fileHeader{};
    bool valid = false;
};

} // namespace kx
