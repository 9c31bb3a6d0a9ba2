// The surface's memory layout, fills, frames, lines, pixels and darkening, pixel by pixel.
#include <gtest/gtest.h>

#include <vector>

#include "GraphicsTestSupport.h"
#include "graphics/DrawDevice24.h"

using kx::CDrawDevice24;
using kx::SurfaceRect;
using kxtest::Picture;
using kxtest::TestSurface;

namespace {

class RecordingSurface : public CDrawDevice24 {
public:
    void OnAreaChanged(const SurfaceRect& area) override { areas.push_back(area); }
    std::vector<SurfaceRect> areas;
};

} // namespace

TEST(SurfaceLayout, RowsAreBottomUpBlueFirstAndPaddedToFourBytes) {
    CDrawDevice24 s;
    ASSERT_TRUE(s.Create(5, 3));
    EXPECT_EQ(s.GetStride(), 16);
    s.Clear(0);
    s.SetPixel(1, 0, 0x112233);
    // The top row is the last one in memory.
    const uint8_t* p = s.GetPixels() + 16 * 2 + 3;
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(s.PixelAddress(1, 0), s.GetPixels() + 35);
}

TEST(SurfaceLayout, InfoHeaderDescribesTheRows) {
    CDrawDevice24 s;
    ASSERT_TRUE(s.Create(5, 3));
    const auto& h = s.GetBitmapInfoHeader();
    EXPECT_EQ(h[0], 40);
    EXPECT_EQ(h[4], 5);
    EXPECT_EQ(h[8], 3);
    EXPECT_EQ(h[12], 1);
    EXPECT_EQ(h[14], 24);
    EXPECT_EQ(h[16], 0);
    EXPECT_EQ(h[20], 48);
}

TEST(SurfaceLayout, CreateWithTheSameSizeKeepsTheContents) {
    TestSurface s(4, 4, 0x123456);
    ASSERT_TRUE(s.Create(4, 4));
    EXPECT_EQ(s.GetPixel(3, 3), 0x123456u);
    ASSERT_TRUE(s.Create(6, 2));
    EXPECT_EQ(s.GetWidth(), 6);
    EXPECT_EQ(s.GetStride(), 20);
}

TEST(SurfaceLayout, ImpossibleSizesLeaveAnEmptySurfaceThatIgnoresDrawing) {
    CDrawDevice24 s;
    EXPECT_FALSE(s.Create(-4, 10));
    EXPECT_FALSE(s.Create(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_EQ(s.GetWidth(), 0);
    EXPECT_FALSE(s.HasPixels());
    s.FillRect(0, 0, 100, 100, 0xFFFFFF);
    s.SetPixel(0, 0, 1);
    EXPECT_EQ(s.GetPixel(0, 0), 0u);
}

TEST(SurfaceLayout, CopyTopDownGivesTheTopRowFirst) {
    TestSurface s(2, 2);
    s.SetPixel(0, 0, 0x0000FF);
    s.SetPixel(1, 1, 0xFF0000);
    std::vector<uint8_t> out(2 * 8, 0x55);
    s.CopyTopDownTo(out.data(), 8);
    EXPECT_EQ(out[0], 0xFF);         // blue of (0, 0)
    EXPECT_EQ(out[8 + 3 + 2], 0xFF); // red of (1, 1)
    EXPECT_EQ(out[6], 0x55);         // the caller's padding is untouched
}

TEST(SurfaceFill, CornersInEitherOrderFillTheSamePixels) {
    TestSurface a(8, 8);
    TestSurface b(8, 8);
    a.FillRect(2, 2, 5, 5, 0xABCDEF);
    b.FillRect(5, 5, 2, 2, 0xABCDEF);
    EXPECT_EQ(Picture(a, 0xABCDEF), Picture(b, 0xABCDEF));
    EXPECT_EQ(Picture(a, 0xABCDEF)[1], "........");
    EXPECT_EQ(Picture(a, 0xABCDEF)[2], "..####..");
    EXPECT_EQ(Picture(a, 0xABCDEF)[5], "..####..");
    EXPECT_EQ(Picture(a, 0xABCDEF)[6], "........");
    TestSurface c(8, 8);
    c.FillRect(5, 2, 2, 5, 0xABCDEF);
    EXPECT_EQ(Picture(a, 0xABCDEF), Picture(c, 0xABCDEF));
}

TEST(SurfaceFill, FarOutsideCornersFillTheWholeSurface) {
    TestSurface s(5, 4);
    s.FillRect(-10, -10, 15, 14, 0x010203);
    for (const std::string& row : Picture(s, 0x010203)) {
        EXPECT_EQ(row, "#####");
    }
    s.FillRect(-100000000, 2, 2000000000, 2, 0x0A0B0C);
    EXPECT_EQ(Picture(s, 0x0A0B0C)[2], "#####");
    EXPECT_EQ(Picture(s, 0x0A0B0C)[1], ".....");
}

TEST(SurfaceFill, RectanglesWhollyOutsideDrawNothing) {
    TestSurface s(4, 4);
    s.FillRect(4, 0, 9, 3, 0xFFFFFF);
    s.FillRect(0, 4, 3, 9, 0xFFFFFF);
    s.FillRect(-5, 0, -1, 3, 0xFFFFFF);
    s.FillRect(0, -5, 3, -1, 0xFFFFFF);
    for (const std::string& row : Picture(s, 0xFFFFFF)) {
        EXPECT_EQ(row, "....");
    }
}

TEST(SurfaceFill, LeavesTheRowPaddingAlone) {
    CDrawDevice24 s;
    s.Create(1, 2);
    std::memset(s.PixelAddress(0, 1), 0x77, 8);
    s.Clear(0xFFFFFF);
    EXPECT_EQ(s.PixelAddress(0, 1)[3], 0x77);
}

TEST(SurfaceFill, NotifyReportsTheClippedAreaExclusive) {
    RecordingSurface s;
    s.Create(10, 10);
    s.FillRect(8, -3, 20, 2, 0x1, true);
    s.FillRect(0, 0, 1, 1, 0x1);
    ASSERT_EQ(s.areas.size(), 1u);
    EXPECT_EQ(s.areas[0], (SurfaceRect{8, 0, 10, 3}));
    s.FillRect(SurfaceRect{3, 4, 1, 2}, 0x2, true);
    EXPECT_EQ(s.areas[1], (SurfaceRect{1, 2, 4, 5}));
}

TEST(SurfaceFrame, FrameDrawsTheFourEdgesInclusive) {
    TestSurface s(6, 5);
    s.DrawFrame(4, 3, 1, 1, 0x00FF00);
    const std::vector<std::string> expected = {"......", ".####.", ".#..#.", ".####.", "......"};
    EXPECT_EQ(Picture(s, 0x00FF00), expected);
    EXPECT_EQ(s.GetLineColour(), 0x00FF00u);
}

TEST(SurfaceFrame, FrameFarOutsideShowsOnlyItsVisibleEdges) {
    TestSurface s(4, 4);
    s.DrawFrame(-10, 1, 100, 100, 0x00FF00);
    const std::vector<std::string> expected = {"....", "####", "....", "...."};
    EXPECT_EQ(Picture(s, 0x00FF00), expected);
}

TEST(SurfaceLine, LinesClipToTheSurfaceAndAcceptEndsInEitherOrder) {
    RecordingSurface s;
    s.Create(5, 5);
    s.Clear(0);
    s.SetLineColour(0xFF);
    s.DrawHLine(7, -2, 1, true);
    s.DrawVLine(3, 9, 3, true);
    s.DrawHLine(0, 4, 5, true);  // row outside
    s.DrawVLine(-1, 0, 4, true); // column outside
    s.DrawHLine(6, 9, 0, true);  // span outside
    const std::vector<std::string> expected = {".....", "#####", ".....", "...#.", "...#."};
    EXPECT_EQ(Picture(s, 0xFF), expected);
    ASSERT_EQ(s.areas.size(), 2u);
    EXPECT_EQ(s.areas[0], (SurfaceRect{0, 1, 5, 2}));
    EXPECT_EQ(s.areas[1], (SurfaceRect{3, 3, 4, 5}));
}

TEST(SurfacePixel, OutsideReadsZeroAndWritesNothing) {
    TestSurface s(3, 3, 0x808080);
    s.SetPixel(3, 0, 0xFFFFFF);
    s.SetPixel(0, -1, 0xFFFFFF);
    EXPECT_EQ(s.GetPixel(-1, 0), 0u);
    EXPECT_EQ(s.GetPixel(0, 3), 0u);
    EXPECT_EQ(s.GetPixel(2, 2), 0x808080u);
    s.SetPixel(2, 2, 0xFF123456); // the top byte is not stored
    EXPECT_EQ(s.GetPixel(2, 2), 0x123456u);
}

TEST(SurfaceDarken, ShiftOneHalvesEachChannelOnItsOwn) {
    TestSurface s(2, 1, 0xFF8001);
    s.DarkenRect(0, 0, 0, 0, 1);
    EXPECT_EQ(s.GetPixel(0, 0), 0x7F4000u);
    EXPECT_EQ(s.GetPixel(1, 0), 0xFF8001u);
}

TEST(SurfaceDarken, EveryShiftUsesItsMask) {
    for (int shift = 1; shift <= 7; ++shift) {
        TestSurface s(1, 1, 0xFFFFFF);
        s.DarkenRect(0, 0, 0, 0, shift);
        const uint32_t channel = 0xFFu >> shift;
        EXPECT_EQ(s.GetPixel(0, 0), channel * 0x010101u) << shift;
    }
}

TEST(SurfaceDarken, ShiftsOutsideOneToSevenChangeNothing) {
    for (int shift : {0, 8, -1, 32}) {
        TestSurface s(2, 2, 0xFF8001);
        s.DarkenRect(0, 0, 1, 1, shift);
        s.DarkenHLine(0, 1, 0, shift);
        EXPECT_EQ(s.GetPixel(0, 0), 0xFF8001u) << shift;
        EXPECT_EQ(s.GetPixel(1, 1), 0xFF8001u) << shift;
    }
}

TEST(SurfaceDarken, RectangleIsOrderedClippedAndReported) {
    RecordingSurface s;
    s.Create(4, 4);
    s.Clear(0x808080);
    s.DarkenRect(9, 2, 2, -9, 1, true);
    const std::vector<std::string> expected = {"..##", "..##", "..##", "...."};
    EXPECT_EQ(Picture(s, 0x404040), expected);
    ASSERT_EQ(s.areas.size(), 1u);
    EXPECT_EQ(s.areas[0], (SurfaceRect{2, 0, 4, 3}));
}

TEST(SurfaceDarken, HorizontalLineClipsItsSpan) {
    TestSurface s(4, 2, 0x808080);
    s.DarkenHLine(5, -5, 1, 2);
    s.DarkenHLine(0, 3, 2, 2);
    const std::vector<std::string> expected = {"....", "####"};
    EXPECT_EQ(Picture(s, 0x202020), expected);
}

TEST(SurfaceSnapshot, CopyToBitmapTakesEveryPixel) {
    TestSurface s(3, 2, 0x010101);
    s.SetPixel(2, 0, 0xFEDCBA);
    kx::CBitmap24 bitmap;
    s.CopyToBitmap(bitmap);
    ASSERT_TRUE(bitmap.IsValid());
    EXPECT_EQ(bitmap.GetPixel(2, 0), 0xFEDCBAu);
    EXPECT_EQ(bitmap.GetPixel(0, 1), 0x010101u);
    EXPECT_EQ(bitmap.GetFileHeader()[0], 'B');
}
