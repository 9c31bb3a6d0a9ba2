// The clip and the draw log that let a picture be drawn again in parts: every primitive, sprites
// and glyphs included, must keep to the clip and report in the log what it would change.
#include <gtest/gtest.h>

#include <functional>

#include "GraphicsTestSupport.h"
#include "graphics/ImageList24.h"

using kx::DrawLog;
using kx::SurfaceRect;
using kxtest::TestSurface;

namespace {

constexpr int kW = 40;
constexpr int kH = 30;
constexpr kx::Colour kKey = 0xFF00FF;

struct Painter {
    Painter() {
        kxtest::LoadFromBytes(bitmap, kxtest::MakeBmp(16, 16, kxtest::Pattern));
        const auto sheetBytes = kxtest::MakeBmp(16, 8, [](int x, int y) -> kx::Colour {
            return (x + y) % 3 == 0 ? kKey : kxtest::Pattern(x, y);
        });
        kx::CMemBlock block;
        block.CopyFrom(sheetBytes.data(), static_cast<uint32_t>(sheetBytes.size()));
        kx::CMemSerializer store(block, false);
        sheet.LoadSheet(store, 8, 8, kKey);
        font = kxtest::FontBuilder(9).Box('A', 1, 2, 5, 7).Box('B', 0, 0, 3, 9).Build();
    }
    // Each kind of primitive once, some of them over the surface's edges.
    void Draw(kx::CDrawDevice24& s, kx::Colour tint = 0x00FF00) const {
        s.FillRect(3, 2, 12, 9, 0x112233);
        s.SetPixel(20, 3, tint);
        s.SetPixel(39, 29, 0xABCDEF);
        s.SetLineColour(0x445566);
        s.DrawHLine(-5, 50, 12);
        s.DrawVLine(25, -3, 40);
        s.DrawFrame(5, 14, 30, 27, 0x778899);
        s.DarkenRect(0, 0, 39, 6, 2);
        s.DarkenHLine(10, 35, 20, 1);
        s.DrawBitmapPart(30, -4, bitmap, 2, 2, 12, 12);
        s.DrawBitmapKeyed(-3, 18, bitmap, 0, 0, 16, 16, kxtest::Pattern(4, 4));
        sheet.DrawCell(s, 14, 22, 1);
        sheet.DrawCell(s, 36, 10, 0);
        s.SetFontData(font);
        s.DrawText(8, 15, "ABAB", tint);
    }
    kx::CBitmap24 bitmap;
    kx::CImageList24 sheet;
    kx::FontData font;
};

// A surface of kW x kH with a different colour in (almost) every pixel.
struct Background : TestSurface {
    Background() : TestSurface(kW, kH) {
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                SetPixel(x, y, kxtest::Pattern(x * 5, y * 7) | 0x808080);
    }
};

bool Inside(const SurfaceRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

TEST(DrawClip, EveryPrimitiveDrawsInsideTheClipWhatItDrawsUnclippedAndNothingOutside) {
    const Painter painter;
    Background whole;
    painter.Draw(whole);
    const Background before;
    int changed = 0;
    for (const SurfaceRect clip :
         {SurfaceRect{0, 0, kW, kH}, SurfaceRect{4, 3, 17, 24}, SurfaceRect{-10, 10, 13, 50},
          SurfaceRect{24, 0, 60, 16}, SurfaceRect{15, 21, 16, 22}, SurfaceRect{16, 24, 40, 30},
          SurfaceRect{9, 9, 9, 20}}) {
        Background part;
        part.SetClip(clip);
        painter.Draw(part);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const kx::Colour expected =
                    Inside(clip, x, y) ? whole.GetPixel(x, y) : before.GetPixel(x, y);
                ASSERT_EQ(part.GetPixel(x, y), expected)
                    << "pixel " << x << "," << y << " with clip " << clip.left << "," << clip.top
                    << "-" << clip.right << "," << clip.bottom;
                changed += part.GetPixel(x, y) != before.GetPixel(x, y);
            }
    }
    EXPECT_GT(changed, kW * kH / 2);
}

TEST(DrawLog, ALoggedPassDrawsNothingAndItsCallsAndBoundsTellWhatItWouldChange) {
    const Painter painter;
    const Background before;
    Background drawn;
    painter.Draw(drawn);

    Background logged;
    DrawLog log;
    logged.SetDrawLog(&log);
    painter.Draw(logged);
    logged.SetDrawLog(nullptr);
    int changed = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            ASSERT_EQ(logged.GetPixel(x, y), before.GetPixel(x, y)) << x << "," << y;
            if (drawn.GetPixel(x, y) != before.GetPixel(x, y)) {
                ++changed;
                ASSERT_TRUE(Inside(log.bounds, x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(changed, 0);
    // Every call is kept, each with its clipped area: the lines run from edge to edge.
    EXPECT_EQ(log.bounds, (SurfaceRect{0, 0, kW, kH}));

    // Logging while drawing logs the same calls and draws the same pixels.
    Background both;
    DrawLog drawing;
    both.SetDrawLog(&drawing, true);
    painter.Draw(both);
    both.SetDrawLog(nullptr);
    EXPECT_EQ(drawing.calls, log.calls);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(both.GetPixel(x, y), drawn.GetPixel(x, y)) << x << "," << y;

    // The same pass logs the same calls; one colour changed, or one text, does not.
    DrawLog again;
    logged.SetDrawLog(&again);
    painter.Draw(logged);
    EXPECT_EQ(again.calls, log.calls);
    again.Clear();
    painter.Draw(logged, 0x00FF01);
    EXPECT_NE(again.calls, log.calls);
    again.Clear();
    logged.DrawText(8, 15, "ABAB", 0x00FF00);
    DrawLog other;
    logged.SetDrawLog(&other);
    logged.DrawText(8, 15, "ABBA", 0x00FF00);
    EXPECT_NE(again.calls, other.calls);

    // A clip limits what is logged as it limits what is drawn.
    DrawLog clipped;
    logged.SetDrawLog(&clipped);
    logged.SetClip({30, 20, 40, 30});
    painter.Draw(logged);
    EXPECT_FALSE(clipped.calls.empty());
    EXPECT_GE(clipped.bounds.left, 30);
    EXPECT_GE(clipped.bounds.top, 20);
}
