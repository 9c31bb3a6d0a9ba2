// The three bitmap copies: whole, part and keyed, clipped at every edge of the surface.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"

using kx::CBitmap24;
using kxtest::Pattern;
using kxtest::PatternBitmap;
using kxtest::TestSurface;

namespace {

constexpr kx::Colour kBack = 0x000000;

// Expects surface pixel (x, y) to show bitmap pixel (x - dx + sx, y - dy + sy) inside the
// destination box and the background elsewhere.
void ExpectCopied(const kx::CDrawDevice24& s, int dx, int dy, int sx, int sy, int w, int h) {
    for (int y = 0; y < s.GetHeight(); ++y) {
        for (int x = 0; x < s.GetWidth(); ++x) {
            const bool inside = x >= dx && x < dx + w && y >= dy && y < dy + h;
            const kx::Colour expected = inside ? Pattern(x - dx + sx, y - dy + sy) : kBack;
            ASSERT_EQ(s.GetPixel(x, y), expected) << "at " << x << "," << y;
        }
    }
}

class RecordingSurface : public TestSurface {
public:
    using TestSurface::TestSurface;
    void OnAreaChanged(const kx::SurfaceRect& area) override { areas.push_back(area); }
    std::vector<kx::SurfaceRect> areas;
};

} // namespace

TEST(BitmapCopy, WholeBitmapLandsTopLeftAtThePoint) {
    CBitmap24 b = PatternBitmap(3, 2);
    TestSurface s(6, 5, kBack);
    s.DrawBitmap(2, 1, b);
    ExpectCopied(s, 2, 1, 0, 0, 3, 2);
}

TEST(BitmapCopy, LeftEdgeShowsTheColumnsFromTheCutOnwards) {
    CBitmap24 b = PatternBitmap(5, 2);
    TestSurface s(6, 4, kBack);
    s.DrawBitmap(-3, 1, b);
    ExpectCopied(s, 0, 1, 3, 0, 2, 2);
}

TEST(BitmapCopy, TopEdgeShowsTheRowsFromTheCutOnwards) {
    CBitmap24 b = PatternBitmap(2, 5);
    TestSurface s(4, 4, kBack);
    s.DrawBitmap(1, -2, b);
    ExpectCopied(s, 1, 0, 0, 2, 2, 3);
}

TEST(BitmapCopy, RightAndBottomEdgesCutTheRest) {
    CBitmap24 b = PatternBitmap(4, 4);
    TestSurface s(5, 5, kBack);
    s.DrawBitmap(3, 2, b);
    ExpectCopied(s, 3, 2, 0, 0, 2, 3);
}

TEST(BitmapCopy, WhollyOutsideDrawsNothing) {
    CBitmap24 b = PatternBitmap(3, 3);
    RecordingSurface s(4, 4, kBack);
    for (auto [x, y] : {std::pair{-3, 0},
                        {4, 0},
                        {0, -3},
                        {0, 4},
                        {-1000000, -1000000},
                        {2000000000, 2000000000}}) {
        s.DrawBitmap(x, y, b, true);
    }
    ExpectCopied(s, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(s.areas.empty());
}

TEST(BitmapCopy, PartIsAddressedFromTheBitmapsTopLeft) {
    CBitmap24 b = PatternBitmap(6, 6);
    TestSurface s(5, 5, kBack);
    s.DrawBitmapPart(1, 1, b, 2, 3, 2, 2);
    ExpectCopied(s, 1, 1, 2, 3, 2, 2);
}

TEST(BitmapCopy, PartIsLimitedToTheBitmap) {
    CBitmap24 b = PatternBitmap(4, 4);
    TestSurface s(8, 8, kBack);
    s.DrawBitmapPart(0, 0, b, 2, 1, 10, 10);
    ExpectCopied(s, 0, 0, 2, 1, 2, 3);
}

TEST(BitmapCopy, PartClipsAtAllFourEdges) {
    CBitmap24 b = PatternBitmap(8, 8);
    TestSurface s(4, 4, kBack);
    s.DrawBitmapPart(-1, -2, b, 1, 1, 7, 7);
    ExpectCopied(s, 0, 0, 2, 3, 4, 4);
}

TEST(BitmapCopy, SourceCornerBeforeTheBitmapKeepsThePartInPlace) {
    CBitmap24 b = PatternBitmap(4, 4);
    TestSurface s(6, 6, kBack);
    s.DrawBitmapPart(1, 1, b, -1, -2, 3, 4);
    // Only the area inside the bitmap is copied, at the place it would have had.
    ExpectCopied(s, 2, 3, 0, 0, 2, 2);
}

TEST(BitmapCopy, NotifyReportsTheDestinationArea) {
    CBitmap24 b = PatternBitmap(4, 4);
    RecordingSurface s(5, 5, kBack);
    s.DrawBitmapPart(-1, 3, b, 0, 0, 4, 4, true);
    ASSERT_EQ(s.areas.size(), 1u);
    EXPECT_EQ(s.areas[0], (kx::SurfaceRect{0, 3, 3, 5}));
}

TEST(BitmapCopy, KeyedCopyLeavesKeyPixelsUntouched) {
    CBitmap24 b = PatternBitmap(3, 3);
    TestSurface s(3, 3, 0x445566);
    const kx::Colour key = Pattern(1, 1);
    s.DrawBitmapKeyed(0, 0, b, 0, 0, 3, 3, key);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(s.GetPixel(x, y), x == 1 && y == 1 ? 0x445566u : Pattern(x, y));
        }
    }
}

TEST(BitmapCopy, KeyedCopyWithoutKeyCopiesLikeThePlainCopy) {
    CBitmap24 b;
    b.CreateBitmap(4, 3, 0); // black pixels, like a key of 0 would drop
    TestSurface keyed(6, 6, 0x0000FF);
    TestSurface plain(6, 6, 0x0000FF);
    keyed.DrawBitmapKeyed(-1, 4, b, 0, 0, 4, 3, kx::kNoTransparentColour);
    plain.DrawBitmapPart(-1, 4, b, 0, 0, 4, 3);
    EXPECT_EQ(kxtest::Picture(keyed, 0), kxtest::Picture(plain, 0));
    EXPECT_EQ(keyed.GetPixel(2, 5), 0u);
    EXPECT_EQ(keyed.GetPixel(3, 5), 0x0000FFu);
}

TEST(BitmapCopy, KeyedCopyClipsAtAllFourEdges) {
    CBitmap24 b = PatternBitmap(6, 6);
    const kx::Colour key = 0x000001; // in no pixel: the keyed path copies all it shows
    for (auto [x, y] : {std::pair{-2, 0}, {0, -2}, {2, 0}, {0, 2}}) {
        TestSurface s(4, 4, kBack);
        s.DrawBitmapKeyed(x, y, b, 0, 0, 6, 6, key);
        const int sx = x < 0 ? -x : 0;
        const int sy = y < 0 ? -y : 0;
        const int dx = x < 0 ? 0 : x;
        const int dy = y < 0 ? 0 : y;
        ExpectCopied(s, dx, dy, sx, sy, 4 - dx, 4 - dy);
    }
}

TEST(BitmapCopy, InvalidBitmapDrawsNothing) {
    CBitmap24 b;
    TestSurface s(2, 2, kBack);
    s.DrawBitmap(0, 0, b);
    s.DrawBitmapKeyed(0, 0, b, 0, 0, 2, 2, 0);
    ExpectCopied(s, 0, 0, 0, 0, 0, 0);
}
