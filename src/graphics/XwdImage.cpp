// The xwd reader: a big-endian header of 25 numbers, the window name, colours, then pixels.
#include "XwdImage.h"

#include <array>
#include <bit>

namespace kx {

namespace {

constexpr size_t kHeaderFields = 25;
constexpr size_t kHeaderBytes = kHeaderFields * 4;
constexpr size_t kColourBytes = 12;
constexpr uint32_t kFileVersion = 7;
constexpr uint32_t kZPixmap = 2;
constexpr uint32_t kTrueColor = 4;
constexpr uint32_t kDirectColor = 5;

enum Field : size_t {
    HeaderSize = 0,
    FileVersion = 1,
    PixmapFormat = 2,
    Width = 4,
    Height = 5,
    XOffset = 6,
    ByteOrder = 7,
    BitsPerPixel = 11,
    BytesPerLine = 12,
    VisualClass = 13,
    RedMask = 14,
    GreenMask = 15,
    BlueMask = 16,
    ColourCount = 19,
};

uint32_t BigEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | static_cast<uint32_t>(p[3]);
}

// One channel of a pixel value as 0..255, whatever the width of its mask.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t maximum = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            maximum = m >> shift;
        }
    }
    bool IsContiguous() const {
        return mask != 0 &&
               (static_cast<uint64_t>(maximum) & (static_cast<uint64_t>(maximum) + 1)) == 0;
    }
    uint32_t Of(uint32_t pixel) const {
        const uint64_t v = (pixel & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + maximum / 2) / maximum);
    }
};

} // namespace

bool ReadXwdImage(std::span<const uint8_t> bytes, CBitmap24& picture) {
    if (bytes.size() < kHeaderBytes) {
        return false;
    }
    std::array<uint32_t, kHeaderFields> h{};
    for (size_t i = 0; i < kHeaderFields; ++i) {
        h[i] = BigEndian32(bytes.data() + 4 * i);
    }
    const uint32_t bitsPerPixel = h[BitsPerPixel];
    if (h[FileVersion] != kFileVersion || h[PixmapFormat] != kZPixmap || h[XOffset] != 0 ||
        h[ByteOrder] > 1 || (h[VisualClass] != kTrueColor && h[VisualClass] != kDirectColor) ||
        (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)) {
        return false;
    }
    const int64_t width = h[Width];
    const int64_t height = h[Height];
    if (width < 1 || height < 1 || width > 65535 || height > 65535 ||
        width * height > kMaxXwdPixels) {
        return false;
    }
    const Channel red(h[RedMask]);
    const Channel green(h[GreenMask]);
    const Channel blue(h[BlueMask]);
    if (!red.IsContiguous() || !green.IsContiguous() || !blue.IsContiguous()) {
        return false;
    }
    const uint64_t pixelBytes = bitsPerPixel / 8;
    const uint64_t lineBytes = h[BytesPerLine];
    if (lineBytes < static_cast<uint64_t>(width) * pixelBytes) {
        return false;
    }
    // Header with the window name, then the colour table, then the rows.
    const uint64_t dataStart =
        static_cast<uint64_t>(h[HeaderSize]) + static_cast<uint64_t>(h[ColourCount]) * kColourBytes;
    if (h[HeaderSize] < kHeaderBytes || dataStart > bytes.size() ||
        lineBytes * static_cast<uint64_t>(height) > bytes.size() - dataStart) {
        return false;
    }
    CBitmap24 result;
    if (!result.CreateBitmap(static_cast<int32_t>(width), static_cast<int32_t>(height), 0)) {
        return false;
    }
    const bool mostSignificantFirst = h[ByteOrder] == 1;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* source = bytes.data() + dataStart + lineBytes * static_cast<uint64_t>(y);
        uint8_t* target = result.RowFromTop(static_cast<int32_t>(y));
        for (int64_t x = 0; x < width; ++x, source += pixelBytes) {
            uint32_t pixel = 0;
            for (uint64_t b = 0; b < pixelBytes; ++b) {
                const uint64_t shift = mostSignificantFirst ? 8 * (pixelBytes - 1 - b) : 8 * b;
                pixel |= static_cast<uint32_t>(source[b]) << shift;
            }
            target[3 * x] = static_cast<uint8_t>(blue.Of(pixel));
            target[3 * x + 1] = static_cast<uint8_t>(green.Of(pixel));
            target[3 * x + 2] = static_cast<uint8_t>(red.Of(pixel));
        }
    }
    picture = std::move(result);
    return true;
}

} // namespace kx
