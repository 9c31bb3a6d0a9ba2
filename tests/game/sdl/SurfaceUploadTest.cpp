// The surface into a 32-bit texture: top row first, each pixel 0xFFRRGGBB, padding untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game/sdl/SurfaceUpload.h"

namespace kx {
namespace {

uint32_t At(const std::vector<uint8_t>& texture, int32_t pitch, int32_t x, int32_t y) {
    uint32_t v = 0;
    std::memcpy(&v, texture.data() + static_cast<size_t>(pitch) * y + 4 * x, 4);
    return v;
}

TEST(SurfaceUpload, RowsArriveTopDownWithEveryColourInPlace) {
    CDrawDevice24 surface;
    ASSERT_TRUE(surface.Create(3, 2)); // rows of 9 bytes padded to 12 in the surface
    surface.Clear(0x000000);
    surface.SetPixel(0, 0, 0x123456);
    surface.SetPixel(2, 0, 0xFF0000);
    surface.SetPixel(1, 1, 0x00FF01);
    const int32_t pitch = 20; // wider than the 12 bytes a row needs
    std::vector<uint8_t> texture(static_cast<size_t>(pitch) * 2, 0xAB);
    CopyTopDownToXrgb(surface, texture.data(), pitch);
    EXPECT_EQ(At(texture, pitch, 0, 0), 0xFF123456u);
    EXPECT_EQ(At(texture, pitch, 1, 0), 0xFF000000u);
    EXPECT_EQ(At(texture, pitch, 2, 0), 0xFFFF0000u);
    EXPECT_EQ(At(texture, pitch, 1, 1), 0xFF00FF01u);
    EXPECT_EQ(At(texture, pitch, 2, 1), 0xFF000000u);
    // The bytes past each row's pixels stay as they were.
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t i = 12; i < pitch; ++i) {
            EXPECT_EQ(texture[static_cast<size_t>(pitch * y + i)], 0xAB) << y << "," << i;
        }
    }
}

// Every width from 1 to 40 (each remainder of the 16- and 4-pixel rounds) and the window's,
// with random pixels: each one widened in place, the padding behind each row untouched.
TEST(SurfaceUpload, EveryPixelOfEveryWidthMatchesItsSurfacePixel) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    std::vector<int32_t> widths;
    for (int32_t w = 1; w <= 40; ++w) {
        widths.push_back(w);
    }
    widths.push_back(650);
    for (int32_t width : widths) {
        const int32_t height = width == 650 ? 650 : 3;
        CDrawDevice24 surface;
        ASSERT_TRUE(surface.Create(width, height));
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                surface.SetPixel(x, y, next() & 0xFFFFFF);
            }
        }
        const int32_t pitch = width * 4 + 8;
        std::vector<uint8_t> texture(static_cast<size_t>(pitch) * height, 0xAB);
        CopyTopDownToXrgb(surface, texture.data(), pitch);
        int64_t wrong = 0;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                wrong += At(texture, pitch, x, y) != (0xFF000000u | surface.GetPixel(x, y));
            }
            for (int32_t i = width * 4; i < pitch; ++i) {
                wrong += texture[static_cast<size_t>(pitch) * y + i] != 0xAB;
            }
        }
        EXPECT_EQ(wrong, 0) << "width " << width;
    }
}

TEST(SurfaceUpload, ASurfaceWithoutPixelsWritesNothing) {
    CDrawDevice24 surface;
    std::vector<uint8_t> texture(16, 0x5A);
    CopyTopDownToXrgb(surface, texture.data(), 16);
    EXPECT_EQ(texture, std::vector<uint8_t>(16, 0x5A));
}

} // namespace
} // namespace kx
