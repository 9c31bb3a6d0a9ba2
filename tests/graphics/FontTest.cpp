// Bitmap fonts built byte by byte: advances, centring, clipping, codes and measuring.
#include <gtest/gtest.h>

#include <algorithm>

#include "GraphicsTestSupport.h"
#include "graphics/FontTable.h"
#include "storage/BlockFile.h"
#include "storage/Error.h"
#include "storage/ResourceArchive.h"
#include "storage/TempFolder.h"
#include "storage/TextCodec.h"

using kxtest::FontBuilder;
using kxtest::Picture;
using kxtest::TestSurface;

namespace {

constexpr kx::Colour kInk = 0xFFFFFF;

// W = 9; 'A' a 2 x 3 box at (1, 2); 'I' a 1-wide bar; code 200 a 4-wide box.
FontBuilder SmallFont() {
    FontBuilder f(9);
    f.Box('A', 1, 2, 2, 3).Box('I', 0, 0, 1, 2).Box(200, 0, 0, 4, 1);
    return f;
}

class TextSurface : public TestSurface {
public:
    TextSurface(int w, int h, const FontBuilder& font) : TestSurface(w, h) {
        SetFontTable(&table);
        SetFontData(font.Build());
        SetTextColour(kInk);
    }
    void OnAreaChanged(const kx::SurfaceRect& area) override { areas.push_back(area); }
    kx::CFontTable table;
    std::vector<kx::SurfaceRect> areas;
};

} // namespace

TEST(FontAdvance, FixedAdvanceFollowsTheNominalWidth) {
    TextSurface s(4, 4, SmallFont());
    EXPECT_EQ(s.GetFixedAdvance(), 4); // proportional: 9 / 3 + 1
    s.SetProportional(false);
    EXPECT_EQ(s.GetFixedAdvance(), 10);
    s.SetFontData(nullptr);
    EXPECT_EQ(s.GetFixedAdvance(), 1);
}

TEST(FontAdvance, ProportionalMovesByGlyphWidthPlusOneAndSpacesByTheFixedAdvance) {
    TextSurface s(40, 8, SmallFont());
    s.SetTextCursor(0, 0);
    s.DrawChar('A');
    EXPECT_EQ(s.GetTextCursorX(), 3);
    s.DrawChar(' ');
    EXPECT_EQ(s.GetTextCursorX(), 7);
    s.DrawChar(200);
    EXPECT_EQ(s.GetTextCursorX(), 12);
    EXPECT_EQ(s.GetTextCursorY(), 0);
}

TEST(FontAdvance, FixedModeCentresTheGlyphInItsCell) {
    FontBuilder f(9);
    f.Box('W', 0, 0, 4, 1);
    TextSurface s(20, 2, f);
    s.SetProportional(false);
    s.SetTextCursor(2, 0);
    s.DrawChar('W');
    EXPECT_EQ(s.GetTextCursorX(), 12);
    EXPECT_EQ(Picture(s, kInk)[0], ".....####...........");
}

TEST(FontAdvance, ControlCodesUseTheSpaceGlyphAndDoNotBreakTheLine) {
    FontBuilder f(9);
    f.Box(' ', 0, 0, 1, 1); // a visible "space" shows where code 10 is drawn
    TextSurface s(12, 3, f);
    s.DrawText(0, 1, std::string("\n\x01", 2), kInk);
    EXPECT_EQ(s.GetTextCursorX(), 4);
    EXPECT_EQ(s.GetTextCursorY(), 1);
    EXPECT_EQ(Picture(s, kInk)[1], "#.#.........");
}

TEST(FontAdvance, HighCodesUseTheirOwnGlyphs) {
    FontBuilder f(9);
    f.Box(0xE4, 0, 0, 2, 1).Box(0xFF, 0, 0, 3, 1);
    TextSurface s(10, 1, f);
    s.DrawText(0, 0, "\xE4\xFF", kInk);
    EXPECT_EQ(Picture(s, kInk)[0], "##.###....");
}

TEST(FontDrawing, DrawsOnlyInkedBitsInTheTextColour) {
    FontBuilder f(9);
    f.Glyph('X', 0, 0, 3, 3, {0b101, 0b010, 0b101});
    TextSurface s(4, 3, f);
    s.FillRect(0, 0, 3, 2, 0x123456);
    s.DrawText(0, 0, "X", kInk);
    const std::vector<std::string> expected = {"#.#.", ".#..", "#.#."};
    EXPECT_EQ(Picture(s, kInk), expected);
    EXPECT_EQ(s.GetPixel(1, 0), 0x123456u); // unset bits leave the surface
}

TEST(FontDrawing, BoxIsPlacedByLeftAndTopWithinTheCell) {
    TextSurface s(6, 6, SmallFont());
    s.DrawText(1, 0, "A", kInk, true);
    const std::vector<std::string> expected = {"......", "......", "..##..",
                                               "..##..", "..##..", "......"};
    EXPECT_EQ(Picture(s, kInk), expected);
    ASSERT_EQ(s.areas.size(), 1u);
    EXPECT_EQ(s.areas[0], (kx::SurfaceRect{2, 2, 4, 5}));
}

TEST(FontDrawing, TextLeftOfTheSurfaceShowsItsVisiblePart) {
    FontBuilder f(9);
    f.Box('M', 0, 0, 8, 1);
    TextSurface s(6, 1, f);
    s.DrawText(-5, 0, "M", kInk, true);
    EXPECT_EQ(Picture(s, kInk)[0], "###...");
    EXPECT_EQ(s.areas.at(0), (kx::SurfaceRect{0, 0, 3, 1}));
}

TEST(FontDrawing, TextAboveAndBelowIsClippedPerPixel) {
    FontBuilder f(9);
    f.Box('B', 0, 0, 1, 4);
    TextSurface s(3, 2, f);
    s.DrawText(0, -2, "B", kInk);
    s.DrawText(2, 1, "B", kInk);
    const std::vector<std::string> expected = {"#..", "#.#"};
    EXPECT_EQ(Picture(s, kInk), expected);
}

TEST(FontDrawing, CharactersRightOfTheSurfaceAreSkippedButAdvance) {
    TextSurface s(3, 8, SmallFont());
    s.DrawText(0, 0, "IIII", kInk);
    EXPECT_EQ(s.GetTextCursorX(), 8);
    EXPECT_EQ(Picture(s, kInk)[0], "#.#");
}

TEST(FontDrawing, WithoutAFontNothingHappens) {
    TestSurface s(4, 4);
    kx::CFontTable table;
    table.SetLoadingDone();
    s.SetFontTable(&table);
    s.SetFont(3);
    s.DrawText(1, 1, "abc", kInk);
    EXPECT_EQ(s.GetTextCursorX(), 1);
    EXPECT_EQ(s.MeasureText("abc"), (kx::TextSize{0, 0}));
}

TEST(FontDrawing, GlyphBoxesReachingOutsideTheCellAreClippedToIt) {
    FontBuilder f(9);
    // A box from column 30 to 39 and row 31 to 40: only (30..31, 31) lie in the cell.
    f.Glyph('Z', 30, 31, 10, 10, {0xFFFFFFFFu});
    f.Glyph('N', -5, -5, 7, 7);
    TextSurface s(40, 40, f);
    s.DrawText(0, 0, "Z", kInk);
    int inked = 0;
    for (const std::string& row : Picture(s, kInk)) {
        inked += static_cast<int>(std::count(row.begin(), row.end(), '#'));
    }
    EXPECT_EQ(inked, 2);
    EXPECT_EQ(s.GetPixel(30, 31), kInk);
    EXPECT_EQ(s.GetPixel(31, 31), kInk);
    s.DrawText(0, 0, "N", kInk); // rows of zero bits: nothing
    EXPECT_EQ(s.GetPixel(0, 0), 0u);
}

TEST(FontDrawing, HostileGlyphNumbersNeitherCrashNorOverflowTheCursor) {
    FontBuilder f(0x7FFFFFFF);
    f.Glyph('a', 0x7FFFFFF0, 16, 0x7FFFFFFF, 0x7FFFFFFF, {1});
    TextSurface s(8, 8, f);
    s.SetTextCursor(0x7FFFFFF0, 0);
    s.DrawString("aaaa");
    EXPECT_EQ(s.GetTextCursorX(), 0x7FFFFFFF);
    s.SetProportional(false);
    s.DrawText(0, 0, "a a", kInk);
    EXPECT_EQ(s.MeasureText("aa").height, 32);
}

TEST(FontMeasure, SumsAdvancesAndTakesTheLowestInk) {
    TextSurface s(1, 1, SmallFont());
    EXPECT_EQ(s.MeasureText(""), (kx::TextSize{0, 0}));
    // 'A' has top 2 and height 3, 'I' top 0 and height 2.
    EXPECT_EQ(s.MeasureText("AI A"), (kx::TextSize{3 + 2 + 4 + 3, 5}));
    s.SetProportional(false);
    EXPECT_EQ(s.MeasureText("AI A").width, 40);
}

TEST(FontMeasure, HeightIsTheLargestTopPlusHeight) {
    FontBuilder f(6);
    f.Box('a', 0, 2, 2, 7).Box('b', 0, 0, 2, 5);
    TextSurface s(1, 1, f);
    EXPECT_EQ(s.MeasureText("ab").height, 9);
}

TEST(FontTable, BlocksOfAnyOtherSizeAreNotTaken) {
    kx::CFontTable table;
    table.SetLoadingDone();
    EXPECT_FALSE(table.SetFontBytes(2, std::vector<uint8_t>(100, 0)));
    EXPECT_EQ(table.GetFont(2), nullptr);
    EXPECT_TRUE(table.SetFontBytes(2, SmallFont().bytes));
    EXPECT_NE(table.GetFont(2), nullptr);
    EXPECT_FALSE(table.SetFontBytes(2, std::vector<uint8_t>(kx::kFontBlockSize + 1, 0)));
    EXPECT_EQ(table.GetFont(2), nullptr);
    EXPECT_EQ(table.GetFont(11), nullptr);
    EXPECT_EQ(table.GetFont(-1), nullptr);
}

TEST(FontTable, SurfaceUsesTheSlotOfItsTable) {
    kx::CFontTable table;
    table.SetLoadingDone();
    table.SetFontBytes(5, SmallFont().bytes);
    TestSurface s(4, 4);
    s.SetFontTable(&table);
    s.SetProportional(false);
    s.SetFont(5);
    EXPECT_EQ(s.GetFixedAdvance(), 10);
    EXPECT_EQ(s.MeasureText("A").width, 10);
}

namespace {

// An archive in memory with the given "dxfont" resources.
void MakeArchive(kx::CResourceArchive& archive,
                 const std::vector<std::pair<std::string, std::vector<uint8_t>>>& fonts) {
    std::vector<kx::ArchiveSource> sources;
    for (const auto& [name, bytes] : fonts) {
        sources.push_back({"dxfont", name, bytes.data(), static_cast<uint32_t>(bytes.size())});
    }
    kx::CMemBlock block;
    {
        kx::CMemSerializer out(block, true);
        ASSERT_TRUE(kx::WriteArchive(out, sources));
    }
    ASSERT_TRUE(archive.LoadFromMemory(block));
}

} // namespace

TEST(FontTable, LoadsSlotsFromTheArchiveAndReportsTheMissingOnes) {
    kx::CResourceArchive archive;
    MakeArchive(archive, {{"F03", SmallFont().bytes}, {"F04", std::vector<uint8_t>(50, 1)}});
    kxtest::TempFolder empty;
    kx::CFontTable table;
    table.SetSearchBase(empty.Path());
    try {
        table.LoadFonts(&archive);
        FAIL() << "missing fonts must raise";
    } catch (const kx::CTBException& e) {
        EXPECT_EQ(e.text, kx::T("Datei \"\" konnte nicht zum Lesen geöffnet werden."));
    }
    EXPECT_NE(table.GetFont(3), nullptr);
    EXPECT_EQ(table.GetFont(4), nullptr); // wrong size: as if missing
    EXPECT_EQ(table.GetFont(0), nullptr);
    std::string error;
    EXPECT_FALSE(table.LoadFontsNoThrow(&archive, &error));
    EXPECT_FALSE(error.empty());
}

TEST(FontTable, FindsFontFilesInTheFontFolderAndSkipsWrongSizes) {
    kxtest::TempFolder folder;
    const auto& good = SmallFont().bytes;
    for (int slot = 0; slot < kx::kFontSlots; ++slot) {
        folder.Write(std::string("Font/") + kx::FontFileName(slot),
                     std::string(good.begin(), good.end()));
    }
    folder.Write("Font/Small.dxfont", "short");
    kx::CFontTable table;
    table.SetSearchBase(folder.Path());
    EXPECT_THROW(table.LoadFonts(nullptr), kx::CTBException);
    EXPECT_NE(table.GetFont(0), nullptr);
    EXPECT_EQ(table.GetFont(7), nullptr);
    EXPECT_NE(table.GetFont(10), nullptr);
    // Loading is done: without an archive it is not repeated.
    EXPECT_NO_THROW(table.LoadFonts(nullptr));
}

TEST(FontTable, FontStaysAliveWhileASurfaceUsesIt) {
    kx::CFontTable table;
    table.SetLoadingDone();
    table.SetFontBytes(1, SmallFont().bytes);
    TestSurface s(8, 8);
    s.SetFontTable(&table);
    s.SetFont(1);
    table.Clear();
    s.DrawText(0, 0, "A", kInk);
    EXPECT_EQ(s.GetPixel(1, 2), kInk);
}
