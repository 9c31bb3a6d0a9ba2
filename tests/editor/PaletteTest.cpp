// The icon palette: its table row by row, the icons it draws, clicks, scrolling and the width
// items.
#include <gtest/gtest.h>

#include "RecordingSheet.h"
#include "editor/IconPalette.h"
#include "graphics/FontTable.h"
#include "storage/Error.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

using namespace kx;

namespace {

struct Row {
    int first, last; // indexes
    EntryKind kind;
    int code0, codeStep;                      // code of entry first + n is code0 + n * codeStep
    int andMask, orMask, background, overlay; // overlay -1: same as the code
    const char* description;                  // UTF-8; "%d" formatted with n + offset
    int numberOffset;
};

// The table, written out independently of the builder.
const Row kRows[] = {
    {0, 39, KindGround, 0, 1, 255, 6, -2, 255, "Mauer #%d", 0},
    {40, 63, KindGround, 64, 1, 249, 0, -2, 255, "Untergrund #%d", 0},
    {64, 64, KindGround, 255, 0, 249, 0, 127, 255, "Untergrund entfernen", 0},
    {65, 65, KindPassage, 0, 0, 255, 2, 0, 248, "Würmer dürfen da nicht entlang", 0},
    {66, 66, KindPassage, 0, 0, 253, 0, 64, 248, "Würmer dürfen da entlang", 0},
    {67, 67, KindPassage, 0, 0, 255, 4, 0, 249, "Geister dürfen da nicht entlang", 0},
    {68, 68, KindPassage, 0, 0, 251, 0, 64, 249, "Geister dürfen da entlang", 0},
    {69, 69, KindItem, 255, 0, 255, 0, 64, 128, "Ding entfernen", 0},
    {70, 70, KindItem, 0, 0, 255, 0, 64, 128, "Korn (länger)", 0},
    {71, 71, KindItem, 1, 0, 255, 0, 64, 129, "Anti-Korn (kürzer)", 0},
    {77, 77, KindItem, 7, 0, 255, 0, 64, 135, "Geisterlarve", 0},
    {78, 78, KindCreature, 255, 0, 255, 0, 64, 147, "Lebewesen entfernen", 0},
    {79, 79, KindCreature, 3, 0, 255, 0, 64, 147, "Wurm", 0},
    {80, 80, KindCreature, 5, 0, 255, 0, 64, 149, "Anfangs aktiver Wurm", 0},
    {81, 81, KindCreature, 2, 0, 255, 0, 64, 146, "Wurmkörper", 0},
    {82, 82, KindCreature, 0, 0, 255, 0, 64, 144, "Geist", 0},
    {83, 83, KindObject, 255, 0, 255, 0, 64, 6, "Objekt entfernen", 0},
    {84, 84, KindObject, 6, 0, 255, 0, 64, 6, "Kaktus", 0},
    {85, 85, KindObject, 0, 0, 255, 0, 64, 0, "Linksdrehung", 0},
    {90, 90, KindObject, 5, 0, 255, 0, 64, 5, "Richtung: Runter", 0},
    {91, 94, KindObject, 56, 1, 255, 4, 64, -1, "Geisterzaun", 0},
    {95, 97, KindObject, 60, 1, 255, 4, 64, -1, "Ausgeschalteter Geisterzaun", 0},
    {98, 107, KindObject, 16, 1, 255, 6, 64, -1, "Block", 0},
    {108, 108, KindObject, 64, 0, 255, 0, 64, -1, "Rand oben", 0},
    {113, 113, KindObject, 69, 0, 255, 0, 64, -1, "Rand unten", 0},
    {119, 119, KindObject, 75, 0, 255, 0, 64, -1, "Rand rechts", 0},
    {120, 121, KindObject, 120, 1, 255, 0, 64, -1, "Ente", 0},
    {122, 139, KindObject, 32, 1, 255, 0, 64, -1, "Schalter", 0},
    {140, 140, KindObject, 50, 0, 255, 0, 87, 50, "Schalter", 0},
    {141, 141, KindObject, 51, 0, 255, 0, 75, 51, "Schalter", 0},
    {142, 142, KindObject, 52, 0, 255, 0, 86, 52, "Schalter", 0},
    {143, 143, KindSwitch, 255, 0, 254, 0, 64, 32, "Schalter entfernen", 0},
    {144, 144, KindSwitch, 0, 0, 255, 1, 64, 32, "Schalter #%d", 0},
    {159, 159, KindSwitch, 7, 0, 254, 0, 64, 32, "Geschaltetes Feld #%d", 7},
    {244, 244, KindSwitch, 50, 0, 255, 1, 64, 32, "Schalter #%d", 50},
    {245, 245, KindSwitch, 50, 0, 254, 0, 64, 32, "Geschaltetes Feld #%d", 50},
};

} // namespace

TEST(PaletteTable, HasAll246EntriesAsItsRowsSay) {
    const std::vector<PaletteEntry> table = BuildPalette();
    ASSERT_EQ(table.size(), 246u);
    for (const Row& r : kRows) {
        for (int i = r.first; i <= r.last; ++i) {
            const PaletteEntry& e = table[static_cast<size_t>(i)];
            const int n = i - r.first;
            const int code = r.code0 + n * r.codeStep;
            EXPECT_EQ(e.kind, r.kind) << i;
            EXPECT_EQ(e.code, code) << i;
            EXPECT_EQ(e.andMask, r.andMask) << i;
            EXPECT_EQ(e.orMask, r.orMask) << i;
            EXPECT_EQ(e.backgroundIcon, r.background == -2 ? code : r.background) << i;
            EXPECT_EQ(e.overlayIcon, r.overlay == -1 ? code : r.overlay) << i;
            EXPECT_EQ(e.description, T(FormatString(r.description, n + r.numberOffset))) << i;
        }
    }
    // The switch pairs alternate over all 51 numbers; the borders run over three sets.
    for (int n = 0; n <= 50; ++n) {
        EXPECT_EQ(table[static_cast<size_t>(144 + 2 * n)].code, n);
        EXPECT_EQ(table[static_cast<size_t>(145 + 2 * n)].orMask, 0);
    }
    const char* sides[] = {"Rand oben", "Rand unten", "Rand links", "Rand rechts"};
    for (int i = 108; i <= 119; ++i) {
        EXPECT_EQ(table[static_cast<size_t>(i)].description, sides[(i - 108) % 4]);
        EXPECT_EQ(table[static_cast<size_t>(i)].code, 64 + (i - 108));
    }
    int removing = 0;
    for (const PaletteEntry& e : table) {
        removing += e.code == 255;
    }
    EXPECT_EQ(removing, 5);
}

TEST(PaletteInput, ClicksSelectOnlyEntriesAndScrollingStopsAtTheEnds) {
    CIconPalette p; // width 3; client 800 wide: icons from x = 704
    EXPECT_EQ(p.Left(800), 704);
    EXPECT_FALSE(p.OnLeftDown(800, 702, 10)) << "the separator";
    EXPECT_TRUE(p.OnLeftDown(800, 704 + 32 + 5, 2 * 32 + 1));
    EXPECT_EQ(p.GetSelected(), 7);
    EXPECT_EQ(p.GetSelectedEntry()->code, 7);
    // Scrolled to the last row, a click below the last entry keeps the selection.
    p.SetFirst(243);
    EXPECT_FALSE(p.OnLeftDown(800, 704, 40));
    EXPECT_EQ(p.GetSelected(), 7);
    EXPECT_TRUE(p.OnLeftDown(800, 704 + 64, 0));
    EXPECT_EQ(p.GetSelected(), 245);

    p.SetFirst(240);
    p.ScrollDown(kPaletteCommandRows);
    EXPECT_EQ(p.GetFirst(), 246) << "scrolled until no entry shows";
    p.ScrollUp(kPaletteKeyRows);
    EXPECT_EQ(p.GetFirst(), 243);
    p.SetFirst(5);
    EXPECT_TRUE(p.ScrollUp(kPaletteCommandRows));
    EXPECT_EQ(p.GetFirst(), 0);
    EXPECT_FALSE(p.ScrollUp(1));

    // Dragging up by two rows and left by one icon shows entries 7 further on.
    p.BeginDrag(750, 300);
    EXPECT_TRUE(p.DragTo(718, 300 - 64));
    EXPECT_EQ(p.GetFirst(), 7);
    EXPECT_TRUE(p.DragTo(750, 100000));
    EXPECT_EQ(p.GetFirst(), 0) << "clamped at the start";
    EXPECT_TRUE(p.DragTo(750, -100000));
    EXPECT_EQ(p.GetFirst(), 245) << "clamped at the last entry";
}

TEST(PaletteInput, WidthItemsSixAndSevenSetEachOthersNumber) {
    CIconPalette p;
    EXPECT_FALSE(p.ChooseWidthItem(3)) << "already 3";
    EXPECT_TRUE(p.ChooseWidthItem(6));
    EXPECT_EQ(p.GetWidth(), 7);
    EXPECT_TRUE(p.IsWidthItemChecked(6));
    EXPECT_FALSE(p.IsWidthItemChecked(7));
    EXPECT_TRUE(p.ChooseWidthItem(7));
    EXPECT_EQ(p.GetWidth(), 6);
    EXPECT_TRUE(p.ChooseWidthItem(8));
    EXPECT_EQ(p.GetWidth(), 8);
    EXPECT_EQ(p.Left(800), 800 - 256);
    p.SetWidth(0);
    EXPECT_EQ(p.GetWidth(), 1);
    p.SetWidth(99);
    EXPECT_EQ(p.GetWidth(), 8);
}

class PaletteDrawing : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_THROW(archive.LoadArchiveFile(std::string(KX_OUTPUT_DIR) + "/Krawlix.bfres"));
        fonts.SetSearchBase("/nonexistent");
        ASSERT_TRUE(fonts.LoadFontsNoThrow(&archive));
        surface.SetFontTable(&fonts);
        ASSERT_TRUE(surface.Create(200, 200));
    }
    // How many pixels of the colour lie in the icon at (x, y).
    int Count(int32_t x, int32_t y, Colour colour) const {
        int n = 0;
        for (int32_t dy = 0; dy < 32; ++dy) {
            for (int32_t dx = 0; dx < 32; ++dx) {
                n += surface.GetPixel(x + dx, y + dy) == colour;
            }
        }
        return n;
    }
    CResourceArchive archive;
    CFontTable fonts;
    CDrawDevice24 surface;
    kxtest::CRecordingSheet full, trans;
};

TEST_F(PaletteDrawing, SwitchNumbersAreRedOnSwitchesAndWhiteOnSwitchedFields) {
    CIconPalette p;
    surface.Clear(0x00FF00);
    p.DrawIcon(surface, 0, 0, 158, full, trans);
    p.DrawIcon(surface, 40, 0, 159, full, trans);
    EXPECT_GT(Count(0, 0, 0xFF0000), 5);
    EXPECT_EQ(Count(0, 0, 0xFFFFFF), 0);
    EXPECT_GT(Count(40, 0, 0xFFFFFF), 5);
    EXPECT_EQ(Count(40, 0, 0xFF0000), 0);
    EXPECT_EQ(full.At(0, 0), std::vector<int32_t>{64});
    EXPECT_EQ(trans.At(0, 0), std::vector<int32_t>{32});
}

TEST_F(PaletteDrawing, RemovingEntriesShowARedXAndTheSelectionHasThreeFrames) {
    CIconPalette p;
    for (int index : {64, 69, 78, 83, 143}) {
        surface.Clear(0x00FF00);
        p.DrawIcon(surface, 0, 0, index, full, trans);
        EXPECT_GT(Count(0, 0, 0xFF0000), 20) << index;
    }
    surface.Clear(0x00FF00);
    p.DrawIcon(surface, 0, 0, 70, full, trans);
    EXPECT_EQ(Count(0, 0, 0xFF0000), 0);
    p.SetSelected(70);
    p.DrawIcon(surface, 0, 0, 70, full, trans);
    EXPECT_EQ(surface.GetPixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(surface.GetPixel(1, 1), 0x000000u);
    EXPECT_EQ(surface.GetPixel(2, 2), 0xFFFFFFu);
    EXPECT_EQ(surface.GetPixel(31, 16), 0xFFFFFFu);
    EXPECT_EQ(surface.GetPixel(3, 3), 0x00FF00u);
}

TEST_F(PaletteDrawing, TheStripShowsRowsFromTheFirstIndexAndEmptyTilesPastTheEnd) {
    CIconPalette p;
    p.SetFirst(240);
    p.SetSelected(241);
    surface.Clear(0x123456);
    p.Draw(surface, 200, 100, full, trans); // d = 104, four rows of three
    EXPECT_EQ(surface.GetPixel(100, 50), 0xE0E0E0u);
    EXPECT_EQ(surface.GetPixel(103, 50), 0x606060u);
    EXPECT_EQ(full.At(104, 0), std::vector<int32_t>{64});       // 240
    EXPECT_EQ(full.At(104 + 64, 32), std::vector<int32_t>{64}); // 245
    EXPECT_EQ(full.At(104, 64), std::vector<int32_t>{127});     // 246: empty tile
    EXPECT_EQ(full.At(104 + 64, 96), std::vector<int32_t>{127});
    EXPECT_TRUE(trans.At(104, 64).empty());
    // The selected entry's description lies on a darkened strip at the bottom left.
    EXPECT_NE(surface.GetPixel(3, 90), 0x123456u);
}
