// Sprite sheets: cell numbering, drawing by index and hit-testing.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/ImageList24.h"

using kx::CImageList24;
using kxtest::LoadFromBytes;
using kxtest::MakeBmp;
using kxtest::Pattern;
using kxtest::TestSurface;

namespace {

bool LoadSheet(CImageList24& sheet, int w, int h, int cw, int ch, kx::Colour key,
               const std::function<kx::Colour(int, int)>& colour = Pattern) {
    const auto bytes = MakeBmp(w, h, colour);
    kx::CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    kx::CMemSerializer store(block, false);
    return sheet.LoadSheet(store, cw, ch, key);
}

} // namespace

TEST(SpriteSheet, CellsAreNumberedRowByRowIgnoringPartialCells) {
    CImageList24 sheet;
    ASSERT_TRUE(LoadSheet(sheet, 100, 70, 32, 32, kx::kNoTransparentColour));
    EXPECT_EQ(sheet.GetColumns(), 3);
    EXPECT_EQ(sheet.GetCount(), 6);
    EXPECT_EQ(sheet.CellX(4), 32);
    EXPECT_EQ(sheet.CellY(4), 32);
    EXPECT_EQ(sheet.GetCellSize(), (kx::CellSize{32, 32}));
    TestSurface s(32, 32);
    sheet.DrawCell(s, 0, 0, 4);
    EXPECT_EQ(s.GetPixel(0, 0), Pattern(32, 32));
    EXPECT_EQ(s.GetPixel(31, 31), Pattern(63, 63));
}

TEST(SpriteSheet, IndicesOutsideTheSheetDrawNothing) {
    CImageList24 sheet;
    ASSERT_TRUE(LoadSheet(sheet, 4, 4, 2, 2, kx::kNoTransparentColour));
    TestSurface s(2, 2, 0x123456);
    for (int index : {-1, 4, 1000}) {
        sheet.DrawCell(s, 0, 0, index);
        sheet.DrawCellOpaque(s, 0, 0, index);
    }
    EXPECT_EQ(s.GetPixel(0, 0), 0x123456u);
    EXPECT_EQ(s.GetPixel(1, 1), 0x123456u);
}

TEST(SpriteSheet, KeyedDrawingLeavesTheTransparentColourOut) {
    // Cell 1 (right half) is green with one red pixel; green is transparent.
    auto colour = [](int x, int y) -> kx::Colour { return x == 3 && y == 1 ? 0xFF0000 : 0x00FF00; };
    CImageList24 sheet;
    ASSERT_TRUE(LoadSheet(sheet, 4, 2, 2, 2, 0x00FF00, colour));
    TestSurface keyed(2, 2, 0x0000FF);
    TestSurface opaque(2, 2, 0x0000FF);
    sheet.DrawCell(keyed, 0, 0, 1);
    sheet.DrawCellOpaque(opaque, 0, 0, 1);
    EXPECT_EQ(keyed.GetPixel(0, 0), 0x0000FFu);
    EXPECT_EQ(keyed.GetPixel(1, 1), 0xFF0000u);
    EXPECT_EQ(opaque.GetPixel(0, 0), 0x00FF00u);
    EXPECT_EQ(opaque.GetPixel(1, 1), 0xFF0000u);
}

// Keyed cells of scattered transparent pixels (runs of every length, whole rows of either
// kind), drawn at every position from off the left and top edges to off the right and
// bottom ones: each surface pixel as the pixel-by-pixel keyed copy of the bitmap leaves it.
TEST(SpriteSheet, KeyedCellsDrawAsThePixelByPixelCopyAtEveryClipping) {
    constexpr kx::Colour kKey = 0xFF00FF;
    auto colour = [](int x, int y) -> kx::Colour {
        const uint32_t n = static_cast<uint32_t>(x * 7 + y * 13) * 2654435761u >> 24;
        if (y == 2 || (y == 5 && x < 7) || n % 3 == 0)
            return kKey;
        return y == 3 ? 0x102030 : Pattern(x, y);
    };
    CImageList24 sheet;
    ASSERT_TRUE(LoadSheet(sheet, 14, 14, 7, 7, kKey, colour));
    ASSERT_EQ(sheet.GetCount(), 4);
    for (int index = 0; index < sheet.GetCount(); ++index) {
        for (int y = -8; y <= 9; ++y) {
            for (int x = -8; x <= 11; ++x) {
                TestSurface drawn(10, 8, 0x445566);
                TestSurface expected(10, 8, 0x445566);
                sheet.DrawCell(drawn, x, y, index);
                expected.DrawBitmapKeyed(x, y, sheet.GetBitmap(), sheet.CellX(index),
                                         sheet.CellY(index), 7, 7, kKey);
                int wrong = 0;
                for (int py = 0; py < 8; ++py)
                    for (int px = 0; px < 10; ++px)
                        wrong += drawn.GetPixel(px, py) != expected.GetPixel(px, py);
                ASSERT_EQ(wrong, 0) << "cell " << index << " at " << x << "," << y;
            }
        }
    }
}

TEST(SpriteSheet, WithoutTransparentColourBothDrawingsAgree) {
    CImageList24 sheet;
    ASSERT_TRUE(LoadSheet(sheet, 6, 6, 3, 3, kx::kNoTransparentColour));
    for (int index = 0; index < sheet.GetCount(); ++index) {
        TestSurface keyed(5, 5);
        TestSurface opaque(5, 5);
        sheet.DrawCell(keyed, 1, -1, index);
        sheet.DrawCellOpaque(opaque, 1, -1, index);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                ASSERT_EQ(keyed.GetPixel(x, y), opaque.GetPixel(x, y));
            }
        }
        EXPECT_FALSE(sheet.IsTransparentAt(0, 0, index));
        EXPECT_FALSE(sheet.IsTransparentAt(2, 2, index));
    }
}

TEST(SpriteSheet, IsTransparentAtLooksAtTheCellsOwnPixel) {
    auto colour = [](int x, int y) -> kx::Colour { return x == 3 && y == 1 ? 0xFF00FF : 0x0000FF; };
    CImageList24 sheet;
    ASSERT_TRUE(LoadSheet(sheet, 4, 2, 2, 2, 0xFF00FF, colour));
    EXPECT_TRUE(sheet.IsTransparentAt(1, 1, 1));
    EXPECT_FALSE(sheet.IsTransparentAt(0, 1, 1));
    EXPECT_FALSE(sheet.IsTransparentAt(1, 1, 0));
}

TEST(SpriteSheet, IsTransparentAtIsTrueOutsideTheCellOrSheet) {
    CImageList24 sheet;
    EXPECT_TRUE(sheet.IsTransparentAt(0, 0, 0)); // nothing loaded
    ASSERT_TRUE(LoadSheet(sheet, 4, 4, 2, 2, kx::kNoTransparentColour));
    EXPECT_TRUE(sheet.IsTransparentAt(-1, 0, 0));
    EXPECT_TRUE(sheet.IsTransparentAt(0, -1, 0));
    EXPECT_TRUE(sheet.IsTransparentAt(2, 0, 0));
    EXPECT_TRUE(sheet.IsTransparentAt(0, 2, 0));
    EXPECT_TRUE(sheet.IsTransparentAt(0, 0, 4));
    EXPECT_TRUE(sheet.IsTransparentAt(0, 0, -1));
}

TEST(SpriteSheet, SheetNarrowerThanACellHasNoCells) {
    CImageList24 sheet;
    ASSERT_TRUE(LoadSheet(sheet, 10, 40, 32, 32, kx::kNoTransparentColour));
    EXPECT_EQ(sheet.GetCount(), 0);
    ASSERT_TRUE(LoadSheet(sheet, 10, 40, 0, 0, kx::kNoTransparentColour));
    EXPECT_EQ(sheet.GetCount(), 0);
}

TEST(SpriteSheet, RefusedPictureLoadsNoSheet) {
    CImageList24 sheet;
    kx::CMemBlock block;
    block.CopyFromText("not a picture at all, but long enough for a header of fifty-four");
    kx::CMemSerializer store(block, false);
    EXPECT_FALSE(sheet.LoadSheet(store, 2, 2, kx::kNoTransparentColour));
    TestSurface s(2, 2, 0x010101);
    sheet.DrawCell(s, 0, 0, 0);
    EXPECT_EQ(s.GetPixel(0, 0), 0x010101u);
}
