// Reading X window dumps: pixel layouts, byte orders, masks and damaged headers.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "graphics/XwdImage.h"

namespace kx {
namespace {

struct DumpLayout {
    uint32_t width = 3;
    uint32_t height = 2;
    uint32_t bitsPerPixel = 32;
    uint32_t byteOrder = 0; // 0 least significant byte first
    uint32_t padBytes = 0;  // extra bytes at the end of each row
    uint32_t visualClass = 4;
    std::array<uint32_t, 3> masks = {0xFF0000, 0x00FF00, 0x0000FF};
    std::string name = "Krawlix";
    uint32_t colours = 2;
    uint32_t version = 7;
};

void PutBig(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) {
        out.push_back(static_cast<uint8_t>(v >> s));
    }
}

// pixel(x, y) gives the raw pixel value as the visual stores it.
std::vector<uint8_t> MakeDump(const DumpLayout& d, uint32_t (*pixel)(uint32_t, uint32_t)) {
    const uint32_t pixelBytes = d.bitsPerPixel / 8;
    const uint32_t line = d.width * pixelBytes + d.padBytes;
    const uint32_t headerSize = 100 + static_cast<uint32_t>(d.name.size()) + 1;
    std::vector<uint8_t> out;
    const std::array<uint32_t, 25> h = {
        headerSize, d.version,     2,          24,          d.width,    d.height,
        0,          d.byteOrder,   32,         d.byteOrder, 32,         d.bitsPerPixel,
        line,       d.visualClass, d.masks[0], d.masks[1],  d.masks[2], 8,
        256,        d.colours,     d.width,    d.height,    0,          0,
        0};
    for (uint32_t v : h) {
        PutBig(out, v);
    }
    out.insert(out.end(), d.name.begin(), d.name.end());
    out.push_back(0);
    out.insert(out.end(), 12 * static_cast<size_t>(d.colours), 0x5A);
    for (uint32_t y = 0; y < d.height; ++y) {
        for (uint32_t x = 0; x < d.width; ++x) {
            const uint32_t p = pixel(x, y);
            for (uint32_t b = 0; b < pixelBytes; ++b) {
                const uint32_t shift = d.byteOrder == 1 ? 8 * (pixelBytes - 1 - b) : 8 * b;
                out.push_back(static_cast<uint8_t>(p >> shift));
            }
        }
        out.insert(out.end(), d.padBytes, 0xEE);
    }
    return out;
}

uint32_t Rgb(uint32_t x, uint32_t y) {
    return 0x100000 * (x + 1) + 0x000100 * (y + 7) + 0x42;
}

TEST(XwdImage, ThirtyTwoBitTrueColourGivesThePixelsTopDown) {
    const std::vector<uint8_t> dump = MakeDump(DumpLayout{}, Rgb);
    CBitmap24 picture;
    ASSERT_TRUE(ReadXwdImage(dump, picture));
    ASSERT_EQ(picture.GetWidth(), 3);
    ASSERT_EQ(picture.GetHeight(), 2);
    for (uint32_t y = 0; y < 2; ++y) {
        for (uint32_t x = 0; x < 3; ++x) {
            EXPECT_EQ(picture.GetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y)), Rgb(x, y))
                << x << "," << y;
        }
    }
}

TEST(XwdImage, MostSignificantByteFirstAndPaddedRowsReadTheSame) {
    DumpLayout layout;
    layout.bitsPerPixel = 24;
    layout.byteOrder = 1;
    layout.padBytes = 3;
    layout.colours = 0;
    CBitmap24 picture;
    ASSERT_TRUE(ReadXwdImage(MakeDump(layout, Rgb), picture));
    EXPECT_EQ(picture.GetPixel(0, 0), Rgb(0, 0));
    EXPECT_EQ(picture.GetPixel(2, 1), Rgb(2, 1));
}

TEST(XwdImage, NarrowChannelsStretchToTheFullRange) {
    DumpLayout layout;
    layout.bitsPerPixel = 16;
    layout.masks = {0xF800, 0x07E0, 0x001F}; // 5-6-5
    CBitmap24 picture;
    ASSERT_TRUE(ReadXwdImage(MakeDump(layout,
                                      [](uint32_t x, uint32_t) -> uint32_t {
                                          return x == 0 ? 0xFFFFu : x == 1 ? 0xF800u : 0x0010u;
                                      }),
                             picture));
    EXPECT_EQ(picture.GetPixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.GetPixel(1, 0), 0xFF0000u);
    EXPECT_EQ(picture.GetPixel(2, 0), 0x000084u); // 16 of 31
}

TEST(XwdImage, DumpsItCannotShowAreRefused) {
    CBitmap24 picture;
    DumpLayout pseudo;
    pseudo.visualClass = 3; // colour-mapped
    EXPECT_FALSE(ReadXwdImage(MakeDump(pseudo, Rgb), picture));
    DumpLayout oldVersion;
    oldVersion.version = 6;
    EXPECT_FALSE(ReadXwdImage(MakeDump(oldVersion, Rgb), picture));
    DumpLayout noMask;
    noMask.masks = {0xFF0000, 0, 0xFF};
    EXPECT_FALSE(ReadXwdImage(MakeDump(noMask, Rgb), picture));
    DumpLayout holes;
    holes.masks = {0xF0F000, 0xFF00, 0xFF};
    EXPECT_FALSE(ReadXwdImage(MakeDump(holes, Rgb), picture));
    DumpLayout eightBit;
    eightBit.bitsPerPixel = 8;
    EXPECT_FALSE(ReadXwdImage(MakeDump(eightBit, Rgb), picture));
    EXPECT_FALSE(picture.IsValid());
}

TEST(XwdImage, DamagedHeadersAndShortDataAreRefusedWithoutReadingPastTheEnd) {
    const std::vector<uint8_t> good = MakeDump(DumpLayout{}, Rgb);
    CBitmap24 picture;
    for (size_t cut : {size_t{1}, size_t{4}, good.size() - 100, good.size() - 1}) {
        const std::vector<uint8_t> shorter(good.begin(), good.end() - static_cast<long>(cut));
        EXPECT_FALSE(ReadXwdImage(shorter, picture)) << cut;
    }
    // A header size below the header itself, a colour count far past the end, a row shorter
    // than its pixels, a width of 60000 pixels in rows of 12 bytes.
    auto patched = [&](size_t field, uint32_t value) {
        std::vector<uint8_t> d = good;
        for (int i = 0; i < 4; ++i) {
            d[4 * field + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
        }
        return d;
    };
    EXPECT_FALSE(ReadXwdImage(patched(0, 40), picture));
    EXPECT_FALSE(ReadXwdImage(patched(19, 0xFFFFFFFF), picture));
    EXPECT_FALSE(ReadXwdImage(patched(12, 4), picture));
    EXPECT_FALSE(ReadXwdImage(patched(4, 60000), picture));
    EXPECT_FALSE(picture.IsValid());
}

} // namespace
} // namespace kx
