// Tests of the generated background: its marks, wrapping, saturation, determinism and tiling.
#include <gtest/gtest.h>

#include <cstring>

#include "game/Background.h"
#include "graphics/Bitmap24.h"
#include "graphics/DrawDevice24.h"
#include "rules/Random.h"

using kx::CBitmap24;
using kx::Colour;

namespace {

// An all-black picture of the background's size.
struct Black : CBitmap24 {
    Black() { EXPECT_TRUE(CreateBitmap(kx::kBackgroundSize, kx::kBackgroundSize, 0)); }
};

Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>((r << 16) | (g << 8) | b);
}

bool SamePixels(const CBitmap24& a, const CBitmap24& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    size_t bytes = static_cast<size_t>(a.GetStride()) * a.GetHeight();
    return std::memcmp(a.GetPixels(), b.GetPixels(), bytes) == 0;
}

} // namespace

TEST(GlowBrush, AddsItsDigitsTimesTheIncrements) {
    Black image;
    kx::StampGlow(image, 100, 200, 1, 2, 3);
    // Row 1 is ".....11111.....": columns 5 to 9 hold 1.
    EXPECT_EQ(image.GetPixel(104, 200), 0u);
    EXPECT_EQ(image.GetPixel(105, 200), Rgb(1, 2, 3));
    EXPECT_EQ(image.GetPixel(109, 200), Rgb(1, 2, 3));
    EXPECT_EQ(image.GetPixel(110, 200), 0u);
    // The centre (column 7, row 7) holds 4; row 6's first column holds 1.
    EXPECT_EQ(image.GetPixel(107, 207), Rgb(4, 8, 12));
    EXPECT_EQ(image.GetPixel(100, 205), Rgb(1, 2, 3));
    EXPECT_EQ(image.GetPixel(99, 207), 0u);
    EXPECT_EQ(image.GetPixel(115, 207), 0u);
}

TEST(GlowBrush, ChannelsSaturateAt255) {
    Black image;
    for (int i = 0; i < 30; ++i)
        kx::StampGlow(image, 10, 10, 5, 0, 2);
    EXPECT_EQ(image.GetPixel(17, 17), Rgb(255, 0, 240)); // 4 × 5 × 30 = 600, 4 × 2 × 30
    EXPECT_EQ(image.GetPixel(15, 10), Rgb(150, 0, 60));  // digit 1
}

TEST(GlowBrush, NearAnEdgeItContinuesOnTheOppositeEdge) {
    Black image;
    kx::StampGlow(image, 793, 796, 1, 1, 1);
    // Column 7 lands on x = 0 and row 7 on y = 3: the brush's centre wraps to the top left.
    EXPECT_EQ(image.GetPixel(0, 3), Rgb(4, 4, 4));
    EXPECT_EQ(image.GetPixel(799, 799), Rgb(3, 3, 3)); // column 6 of ".1122233322211."
    EXPECT_EQ(image.GetPixel(7, 3), Rgb(1, 1, 1));     // column 14
    EXPECT_EQ(image.GetPixel(8, 3), 0u);
}

TEST(Stars, ReplacePixelsAndSpreadAcrossTheEdges) {
    Black image;
    kx::StampGlow(image, 0, 0, 5, 5, 5);
    kx::PlaceStar(image, 0, 0, 200, 100, 41);
    EXPECT_EQ(image.GetPixel(0, 0), Rgb(200, 100, 41));
    EXPECT_EQ(image.GetPixel(799, 0), Rgb(100, 50, 20));
    EXPECT_EQ(image.GetPixel(1, 0), Rgb(100, 50, 20));
    EXPECT_EQ(image.GetPixel(0, 799), Rgb(100, 50, 20));
    EXPECT_EQ(image.GetPixel(0, 1), Rgb(100, 50, 20));
    EXPECT_EQ(image.GetPixel(799, 799), Rgb(50, 25, 10));
    EXPECT_EQ(image.GetPixel(1, 1), Rgb(50, 25, 10)); // replaced, not added to the glow
    EXPECT_EQ(image.GetPixel(2, 0), 0u);
}

TEST(Generation, TheSameSeedGivesTheSamePicture) {
    kx::CRandom a(1234), b(1234), c(1235);
    CBitmap24 first, second, third;
    ASSERT_TRUE(kx::GenerateBackground(first, a));
    ASSERT_TRUE(kx::GenerateBackground(second, b));
    ASSERT_TRUE(kx::GenerateBackground(third, c));
    EXPECT_EQ(first.GetWidth(), 800);
    EXPECT_EQ(first.GetHeight(), 800);
    EXPECT_TRUE(SamePixels(first, second));
    EXPECT_FALSE(SamePixels(first, third));
}

TEST(Generation, DrawsExactlyTheNumbersItsStepsNeed) {
    for (uint64_t seed : {1u, 77u, 4242u}) {
        kx::CRandom random(seed);
        kx::CRandom counter(seed);
        uint32_t blobs = counter.Below(4) + 2;
        // Per nebula: 4 for the colour, 4 for the start, 200 × (4 jitters + 2 turns);
        // per star: 5.
        uint64_t draws = 1 + blobs * (4 + 4 + 200 * 6) + 100 * 5;
        for (uint64_t i = 1; i < draws; ++i)
            counter.Next();
        CBitmap24 image;
        ASSERT_TRUE(kx::GenerateBackground(image, random));
        EXPECT_EQ(random.Next(), counter.Next()) << "seed " << seed;
    }
}

TEST(Tiling, TheBackgroundMovesAtAQuarterOfTheViewSpeed) {
    Black image;
    kx::PlaceStar(image, 200, 10, 255, 255, 255);
    kx::CDrawDevice24 surface;
    ASSERT_TRUE(surface.Create(650, 650));
    kx::TileBackground(surface, image, 0, 0);
    EXPECT_EQ(surface.GetPixel(200, 10), Rgb(255, 255, 255));
    // The view moved right by 800 pixels: the background by 200.
    kx::TileBackground(surface, image, 800, 0);
    EXPECT_EQ(surface.GetPixel(0, 10), Rgb(255, 255, 255));
    EXPECT_EQ(surface.GetPixel(200, 10), 0u);
}

TEST(Tiling, TilesCoverTheWholeSurfaceFromEitherSide) {
    Black image;
    kx::PlaceStar(image, 0, 0, 255, 0, 0);
    kx::CDrawDevice24 surface;
    ASSERT_TRUE(surface.Create(650, 650));
    surface.Clear(0x00FF00);
    // A start point right of the edge steps back by whole pictures: 100 becomes -700.
    kx::TileBackground(surface, image, -400, -400);
    EXPECT_EQ(surface.GetPixel(100, 100), Rgb(255, 0, 0));
    EXPECT_EQ(surface.GetPixel(99, 100), Rgb(127, 0, 0));
    // A start point left of the edge is used as it is: -1000 / 4 = -250; the next tile is at
    // 550.
    kx::TileBackground(surface, image, 1000, 1000);
    EXPECT_EQ(surface.GetPixel(550, 550), Rgb(255, 0, 0));
    EXPECT_EQ(surface.GetPixel(549, 549), Rgb(63, 0, 0));
    for (int y = 0; y < 650; y += 13)
        for (int x = 0; x < 650; x += 13)
            ASSERT_NE(surface.GetPixel(x, y), 0x00FF00u) << x << "," << y;
}

// The paint tiles only the bands around the ground: inside an area the pixels are the whole
// tiling's, outside it the surface keeps what it had, for offsets on either side and areas
// reaching past the surface's edges.
TEST(Tiling, AnAreaGetsTheWholeTilingsPixelsAndTheRestStaysAsItWas) {
    CBitmap24 image;
    ASSERT_TRUE(image.CreateBitmap(kx::kBackgroundSize, kx::kBackgroundSize, 0));
    kx::CRandom random(7);
    for (int y = 0; y < kx::kBackgroundSize; ++y) {
        uint8_t* row = image.RowFromTop(y);
        for (int i = 0; i < 3 * kx::kBackgroundSize; ++i)
            row[i] = static_cast<uint8_t>(random.Next());
    }
    const kx::SurfaceRect areas[] = {
        {0, 0, 650, 7}, {-20, 600, 700, 900}, {0, 7, 13, 643}, {300, 0, 301, 650}, {5, 5, 5, 9}};
    const int32_t offsets[][2] = {{0, 0}, {-3201, 17}, {4000, -999}, {-1, 3203}};
    for (const auto& [ox, oy] : offsets) {
        kx::CDrawDevice24 whole;
        ASSERT_TRUE(whole.Create(650, 650));
        kx::TileBackground(whole, image, ox, oy);
        for (const kx::SurfaceRect& a : areas) {
            kx::CDrawDevice24 part;
            ASSERT_TRUE(part.Create(650, 650));
            part.Clear(0x123456);
            kx::TileBackground(part, image, ox, oy, a);
            for (int y = 0; y < 650; ++y) {
                for (int x = 0; x < 650; ++x) {
                    const bool inside = x >= a.left && x < a.right && y >= a.top && y < a.bottom;
                    ASSERT_EQ(part.GetPixel(x, y), inside ? whole.GetPixel(x, y) : 0x123456u)
                        << "offset " << ox << "," << oy << " area " << a.left << "," << a.top
                        << " pixel " << x << "," << y;
                }
            }
        }
    }
}
