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

TEST(SurfaceUpload, ASurfaceWithoutPixelsWritesNothing) {
    CDrawDevice24 surface;
    std::vector<uint8_t> texture(16, 0x5A);
    CopyTopDownToXrgb(surface, texture.data(), 16);
    EXPECT_EQ(texture, std::vector<uint8_t>(16, 0x5A));
}

} // namespace
} // namespace kx
