// Region tools, zoom, pick and the readable names: the document's copy, paste, clear and flood
// fill, and the view that drives them under the mouse at every zoom.
#include <gtest/gtest.h>

#include <set>

#include "EditorTestSupport.h"
#include "EditorViewFixture.h"
#include "RecordingSheet.h"
#include "editor/CellNames.h"
#include "editor/EditorView.h"
#include "graphics/FontTable.h"
#include "storage/TextCodec.h"

using namespace kx;
using kxtest::CRecordingSheet;

namespace {

// Paints each icon as one flat colour: the index in every channel's low bits.
class CFlatSheet : public IImageList24 {
public:
    static Colour ColourOf(int32_t index) {
        return 0x100000u + static_cast<Colour>(index) * 0x10101u;
    }
    int32_t GetCount() const override { return 256; }
    void DrawCell(CDrawDevice24& s, int32_t x, int32_t y, int32_t index) const override {
        s.FillRect(x, y, x + 31, y + 31, ColourOf(index));
    }
    void DrawCellOpaque(CDrawDevice24& s, int32_t x, int32_t y, int32_t index) const override {
        DrawCell(s, x, y, index);
    }
    bool IsTransparentAt(int32_t, int32_t, int32_t) const override { return false; }
    CellSize GetCellSize() const override { return {32, 32}; }
    Colour GetTransparentColour() const override { return kNoTransparentColour; }
};

class Region : public kxtest::EditorViewFixture {
protected:
    // The pixel at the centre of field cell (x, y) at the present zoom and scroll.
    int32_t Px(int32_t x) const {
        return (x - view.scrollX) * view.CellPixels() + view.CellPixels() / 2;
    }
    int32_t Py(int32_t y) const {
        return (y - view.scrollY) * view.CellPixels() + view.CellPixels() / 2;
    }
    void Drag(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
        view.OnLeftDown(Px(ax), Py(ay));
        view.OnMouseMove(Px(bx), Py(by));
        view.OnLeftUp(Px(bx), Py(by));
    }
};

} // namespace

TEST_F(Region, CopyAndPasteCarryWholeCellsClipAtTheEdgeAndAreOneStepEach) {
    FieldCell& c = doc.CellAt(2, 3);
    c.ground = 65;
    c.objects[0] = 4;
    c.item = 0;
    c.creature = 5;
    c.swGround = 66;
    c.swItem = 2;
    c.switchNo = 7;
    c.flags = FLAG_SWITCH | FLAG_NO_GHOSTS;
    c.swFlags = FLAG_NO_WORMS;
    c.extraFlags = 9;
    const FieldClip clip = doc.CopyRegion(3, 4, 2, 3); // corners in either order
    ASSERT_EQ(clip.width, 2);
    ASSERT_EQ(clip.height, 2);
    EXPECT_EQ(clip.cells[0], c);
    EXPECT_TRUE(doc.CopyRegion(20, 20, 30, 30).Empty()) << "nothing of it in the field";
    EXPECT_EQ(doc.CopyRegion(-5, -5, 0, 1).width, 1) << "cut to the field";

    const auto before = kxtest::Copy(doc);
    // Top-left at (9, 9) of an 11 x 11 field: the block's first column and row land, the
    // rest lies past the edge.
    EXPECT_TRUE(doc.PasteClip(clip, 9, 9));
    EXPECT_EQ(doc.CellAt(9, 9), c);
    EXPECT_EQ(doc.GetHistory().StepCount(), 1u);
    EXPECT_FALSE(doc.PasteClip(clip, 9, 9)) << "the same again changes nothing";
    EXPECT_FALSE(doc.PasteClip(FieldClip{}, 1, 1));
    EXPECT_FALSE(doc.PasteClip(clip, INT32_MAX, INT32_MIN)) << "far off, nothing wraps in";
    EXPECT_EQ(doc.GetHistory().StepCount(), 1u);
    doc.Undo();
    EXPECT_TRUE(kxtest::SameField(doc, before));

    // A clip from a larger field pastes what fits into a smaller one.
    CKrawlixEditorDoc big;
    big.NewDocument(40, 30, "Blau");
    const FieldClip wide = big.CopyRegion(0, 0, 39, 29);
    EXPECT_TRUE(doc.PasteClip(wide, 0, 0));
    EXPECT_EQ(doc.CellAt(0, 0).ground, 25) << "the blue corner";
    EXPECT_EQ(doc.CellAt(10, 10).ground, 64) << "inside the big field, no wall";
    EXPECT_EQ(doc.GetHistory().StepCount(), 1u);

    // Clearing leaves plain ground in both layers and nothing else, as one step.
    doc.CellAt(9, 9).switchNo = 4;
    doc.CellAt(9, 9).swGround = 0;
    EXPECT_TRUE(doc.ClearRegion(9, 9, 0, 0));
    EXPECT_EQ(doc.CellAt(0, 0).ground, 64);
    EXPECT_EQ(doc.CellAt(0, 0).flags, 0);
    EXPECT_EQ(doc.CellAt(9, 9).switchNo, 255);
    EXPECT_EQ(doc.CellAt(9, 9).swGround, 64);
    EXPECT_EQ(doc.CellAt(10, 0).ground, 26) << "outside the rectangle";
    EXPECT_FALSE(doc.ClearRegion(0, 0, 9, 9));
    EXPECT_FALSE(doc.ClearRegion(50, 50, 60, 60));
    EXPECT_EQ(doc.GetHistory().StepCount(), 2u);
}

TEST_F(Region, FloodFillTakesConnectedEqualCellsOnlyAsOneStep) {
    doc.NewDocument(12, 8, "Rot");
    // A wall across column 5 splits the inside; corn in the left room.
    for (int32_t y = 0; y < 8; ++y) {
        doc.CellAt(5, y).ground = 0;
    }
    doc.CellAt(2, 2).item = 0;
    const PaletteEntry& water = kxtest::Entry(41);
    ASSERT_EQ(water.code, 65);
    EXPECT_TRUE(doc.FloodFill(1, 1, water, FieldLayer::Normal));
    int water1 = 0;
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 12; ++x) {
            water1 += doc.CellAt(x, y).ground == 65;
            if (x >= 1 && x <= 4 && y >= 1 && y <= 6) {
                ASSERT_EQ(doc.CellAt(x, y).ground, 65) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(water1, 4 * 6) << "the right room and the walls stay";
    EXPECT_EQ(doc.GetHistory().StepCount(), 1u);

    // Items spread over the same ground with the same item only: the corn cell stops it.
    EXPECT_TRUE(doc.FloodFill(1, 1, kxtest::Entry(72), FieldLayer::Normal));
    EXPECT_EQ(doc.CellAt(4, 6).item, 2);
    EXPECT_EQ(doc.CellAt(2, 2).item, 0);
    EXPECT_EQ(doc.CellAt(7, 2).item, 255);
    // The switch layer is its own: plain ground everywhere there, so it fills all of it.
    EXPECT_TRUE(doc.FloodFill(0, 0, kxtest::Entry(42), FieldLayer::Switch));
    EXPECT_EQ(doc.CellAt(11, 7).swGround, 66);
    EXPECT_EQ(doc.CellAt(11, 7).ground, 3) << "the normal layer's corner untouched";
    EXPECT_FALSE(doc.FloodFill(-1, 0, water, FieldLayer::Normal));
    EXPECT_FALSE(doc.FloodFill(1, 1, water, FieldLayer::Normal)) << "water on water";
    EXPECT_EQ(doc.GetHistory().StepCount(), 3u);
}

TEST_F(Region, SelectCutAndAPasteThatFollowsThePointerUntilPlaced) {
    doc.CellAt(2, 2).item = 0;
    doc.CellAt(3, 2).objects[0] = 6;
    view.SetTool(ToolSelect);
    Drag(2, 2, 3, 3);
    ASSERT_TRUE(view.GetSelection().has_value());
    EXPECT_EQ(*view.GetSelection(), (CellRect{2, 2, 3, 3}));
    EXPECT_FALSE(doc.IsModified()) << "selecting changes nothing";
    EXPECT_TRUE(view.Cut());
    EXPECT_EQ(doc.CellAt(2, 2).item, 255);
    EXPECT_EQ(doc.CellAt(3, 2).objects[0], 255);
    EXPECT_EQ(doc.GetHistory().StepCount(), 1u);

    // The block follows the pointer: drawn where it would land, the field not yet changed.
    EXPECT_TRUE(view.BeginPaste());
    view.OnMouseMove(Px(6), Py(5));
    EXPECT_EQ(view.pasteX, 6);
    EXPECT_EQ(view.pasteY, 5);
    EXPECT_EQ(view.CellForDrawing(6, 5).item, 0);
    EXPECT_EQ(doc.CellAt(6, 5).item, 255);
    // Esc stops it; a second paste is placed by the press, with its cells selected.
    view.OnKey(EditorKey::Escape, false);
    EXPECT_FALSE(view.IsPasting());
    EXPECT_EQ(view.CellForDrawing(6, 5).item, 255);
    view.BeginPaste();
    view.OnMouseMove(Px(9), Py(9));
    view.OnLeftDown(Px(9), Py(9));
    view.OnLeftUp(Px(9), Py(9));
    EXPECT_FALSE(view.IsPasting());
    EXPECT_EQ(doc.CellAt(9, 9).item, 0);
    EXPECT_EQ(doc.CellAt(10, 9).objects[0], 6) << "the border's wall gave way to the block";
    EXPECT_EQ(*view.GetSelection(), (CellRect{9, 9, 10, 10})) << "clipped at the edge";
    EXPECT_EQ(doc.GetHistory().StepCount(), 2u);
    // Entf empties the selection, one step; Esc then drops the selection.
    view.OnKey(EditorKey::Delete, false);
    EXPECT_EQ(doc.CellAt(10, 10).ground, 64);
    EXPECT_EQ(doc.GetHistory().StepCount(), 3u);
    view.OnKey(EditorKey::Escape, false);
    EXPECT_FALSE(view.GetSelection().has_value());
    EXPECT_FALSE(view.Copy()) << "no selection, the clipboard stays";
    EXPECT_FALSE(view.PasteAt(-1, 3)) << "a cell outside the field";
    EXPECT_FALSE(view.PasteAt(11, 0));
    EXPECT_EQ(doc.GetHistory().StepCount(), 3u);

    // An empty clipboard pastes nothing and starts no paste.
    CKrawlixEditorView other(doc);
    EXPECT_FALSE(other.BeginPaste());
    EXPECT_FALSE(other.PasteAt(1, 1));
}

TEST_F(Region, EveryToolHitsTheCellUnderThePointerAtEveryZoom) {
    doc.NewDocument(200, 200, "Rot");
    view.OnInitialUpdate();
    for (double zoom : kZoomSteps) {
        SCOPED_TRACE(zoom);
        ASSERT_TRUE(view.SetZoom(zoom) || view.zoom == zoom);
        view.ScrollTo(3, 4);
        view.GetPalette().SetSelected(70); // corn
        view.SetTool(ToolPaint);
        view.OnLeftDown(Px(5), Py(6));
        view.OnMouseMove(Px(6), Py(6));
        view.OnLeftUp(Px(6), Py(6));
        EXPECT_EQ(doc.CellAt(5, 6).item, 0);
        EXPECT_EQ(doc.CellAt(6, 6).item, 0);
        EXPECT_EQ(doc.CellAt(7, 6).item, 255);
        view.GetPalette().SetSelected(84); // cactus
        view.SetTool(ToolFilledRectangle);
        Drag(8, 8, 9, 10);
        EXPECT_EQ(doc.CellAt(9, 10).objects[0], 6);
        EXPECT_EQ(doc.CellAt(10, 10).objects[0], 255);
        view.SetTool(ToolFlood);
        view.GetPalette().SetSelected(41); // water
        view.OnLeftDown(Px(20), Py(20));
        view.OnLeftUp(Px(20), Py(20));
        EXPECT_EQ(doc.CellAt(198, 198).ground, 65);
        view.SetTool(ToolSelect);
        Drag(4, 5, 6, 7);
        EXPECT_EQ(*view.GetSelection(), (CellRect{4, 5, 6, 7}));
        int32_t x = 0, y = 0;
        ASSERT_TRUE(view.CellAtPixel(Px(12), Py(13), x, y));
        EXPECT_EQ(x, 12);
        EXPECT_EQ(y, 13);
        view.OnPick(Px(9), Py(10));
        EXPECT_EQ(view.GetPalette().GetSelected(), 84);
        while (doc.Undo()) {
        }
    }
    // At 12.5 % a cell is 4 pixels: the 700-pixel field area shows 175 columns, the bars the
    // rest.
    EXPECT_EQ(view.CellPixels(), 4);
    EXPECT_EQ(view.VisibleColumns(), 175);
    EXPECT_FALSE(view.ZoomOut());
    view.ScrollTo(0, 0);
    const ScrollRange h = view.HorizontalRange();
    EXPECT_EQ(h.minimum, 0);
    EXPECT_EQ(h.maximum, 200 - 175);
    EXPECT_EQ(h.page, 175);
    // Zooming about a pointer keeps the cell under it; steps beyond the ends are refused.
    view.ScrollTo(20, 30);
    view.SetZoomAt(50, 400, 300);
    int32_t x = 0, y = 0;
    EXPECT_TRUE(view.CellAtPixel(400, 300, x, y));
    EXPECT_EQ(x, 20 + 400 / 4);
    EXPECT_EQ(y, 30 + 300 / 4);
    EXPECT_TRUE(view.ZoomIn());
    EXPECT_FALSE(view.ZoomIn());
    EXPECT_FALSE(view.SetZoom(33));
    EXPECT_EQ(view.zoom, 100);
    // Zoomed out far enough for the whole field, the view shows it from its top-left and the
    // bars have nothing left to scroll.
    doc.NewDocument(150, 100, "Rot");
    view.OnInitialUpdate();
    view.ScrollTo(60, 40);
    ASSERT_TRUE(view.SetZoomAt(12.5, 600, 500));
    EXPECT_EQ(view.scrollX, 0);
    EXPECT_EQ(view.scrollY, 0);
    EXPECT_EQ(view.HorizontalRange().maximum, 0);
    EXPECT_EQ(view.VerticalRange().maximum, 0);
}

TEST_F(Region, DraggingPastTheEdgeScrollsAndEscCancelsEveryDrag) {
    doc.NewDocument(100, 100, "Rot");
    view.OnInitialUpdate();
    view.GetPalette().SetSelected(70);
    view.SetTool(ToolFilledRectangle);
    view.OnLeftDown(Px(2), Py(2));
    view.OnMouseMove(750, 300); // over the palette: past the field area's right edge
    ASSERT_TRUE(view.WantsAutoScroll());
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(view.AutoScrollStep());
    }
    EXPECT_EQ(view.scrollX, 5);
    EXPECT_EQ(view.x2, 5 + 699 / 32) << "the corner follows to the last column in view";
    view.OnKey(EditorKey::Escape, false);
    EXPECT_FALSE(view.dragging);
    EXPECT_FALSE(view.WantsAutoScroll());
    EXPECT_FALSE(doc.IsModified()) << "the rectangle was not applied";
    // A paint stroke taken back by Esc leaves no trace and no undo step.
    view.SetTool(ToolPaint);
    view.OnLeftDown(Px(7), Py(3));
    view.OnMouseMove(Px(8), Py(3));
    EXPECT_EQ(doc.CellAt(8, 3).item, 0);
    EXPECT_TRUE(view.CancelDrag());
    EXPECT_EQ(doc.CellAt(7, 3).item, 255);
    EXPECT_EQ(doc.CellAt(8, 3).item, 255);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Region, PickTakesTheTopmostShownElementAndBringsItsIconIntoView) {
    FieldCell& c = doc.CellAt(4, 4);
    c.objects[0] = 6; // cactus below
    c.objects[1] = 3; // arrow right on top
    c.item = 1;       // anti-corn
    c.creature = 1;   // a marked ghost
    c.switchNo = 7;
    c.flags = 0; // a switched field of switch 7
    c.swGround = 66;
    auto picked = [&] {
        EXPECT_TRUE(view.PickAt(4, 4));
        return view.GetPalette().GetSelected();
    };
    EXPECT_EQ(picked(), 159) << "Schalter 7, Fläche";
    EXPECT_LE(view.GetPalette().GetFirst(), 159);
    EXPECT_GT(view.GetPalette().GetFirst() + 3 * 19, 159) << "its row is in view";
    view.ToggleShowSwitches();
    EXPECT_EQ(picked(), 82) << "the ghost";
    view.ToggleShowCreatures();
    EXPECT_EQ(picked(), 71);
    view.ToggleShowItems();
    EXPECT_EQ(picked(), 88) << "the arrow on top of the cactus";
    view.ToggleShowObjects();
    EXPECT_EQ(picked(), 40) << "plain ground";
    view.ToggleSwitchLayer();
    EXPECT_EQ(picked(), 42) << "the switch layer's ice";
    EXPECT_FALSE(view.PickAt(11, 4));
    EXPECT_FALSE(view.PickAt(-1, 0));
    c.swGround = 200; // no entry places it
    EXPECT_FALSE(view.PickAt(4, 4));
    EXPECT_EQ(view.GetPalette().GetSelected(), 42);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Region, EveryPaletteEntryHasAReadableNameAndCellsAreDescribed) {
    const std::vector<PaletteEntry> table = BuildPalette();
    std::set<std::string> names;
    for (const PaletteEntry& e : table) {
        EXPECT_EQ(e.name.find('#'), std::string::npos) << Utf8FromCp1252(e.name);
        names.insert(e.name);
    }
    EXPECT_EQ(names.size(), table.size());
    EXPECT_EQ(Utf8FromCp1252(table[0].name), "Mauer rot, einzeln");
    EXPECT_EQ(Utf8FromCp1252(table[17].name), "Mauer grün, linkes Ende");
    EXPECT_EQ(Utf8FromCp1252(table[41].name), "Wasser");
    EXPECT_EQ(Utf8FromCp1252(table[42].name), "Eis");
    EXPECT_EQ(Utf8FromCp1252(table[150].name), "Schalter 3");
    EXPECT_EQ(Utf8FromCp1252(table[151].name), "Schalter 3, Fläche");

    FieldCell c = doc.CellAt(3, 3);
    c.ground = 66;
    c.item = 0;
    c.objects[0] = 56;
    c.switchNo = 3;
    c.flags = FLAG_SWITCH | FLAG_NO_WORMS;
    EXPECT_EQ(DescribeCell(c, FieldLayer::Normal),
              "Eis, Geisterzaun, waagrecht, Korn (länger), Schalter 3, für Würmer gesperrt");
    EXPECT_EQ(DescribeCell(c, FieldLayer::Switch), "Boden, Schalter 3, Fläche");
    EXPECT_EQ(DescribeCell(doc.CellAt(0, 0), FieldLayer::Normal), "Mauer rot, linkes Ende");
}

TEST_F(Region, TheSwitchLayerShowsTheNormalWallsFaintlyAndTheZoomShrinksCells) {
    CFlatSheet flat;
    view.SetSprites(&flat, &flat);
    view.ToggleSwitchLayer();
    view.Draw(surface);
    // Cell (1, 0): a wall (ground 2) in the normal layer, plain ground 64 in the switch layer.
    const Colour ground = CFlatSheet::ColourOf(64);
    const Colour wall = CFlatSheet::ColourOf(2);
    auto mix = [](Colour a, Colour b, int shift) {
        Colour out = 0;
        for (int s = 0; s < 24; s += 8) {
            const int ca = static_cast<int>((a >> s) & 0xFF);
            const int cb = static_cast<int>((b >> s) & 0xFF);
            out |= static_cast<Colour>(ca + (cb - ca) * shift / 8) << s;
        }
        return out;
    };
    EXPECT_EQ(surface.GetPixel(40, 20), mix(ground, wall, 3));
    EXPECT_EQ(surface.GetPixel(40, 50), ground) << "no wall under the plain inside";
    view.ToggleSwitchLayer();
    view.Draw(surface);
    EXPECT_EQ(surface.GetPixel(40, 20), wall);
    // At 25 % cell (5, 5) is the 8 x 8 block at (40, 40); the outside starts at 88.
    view.SetZoom(25);
    view.ScrollTo(0, 0);
    view.Draw(surface);
    EXPECT_EQ(surface.GetPixel(44, 44), ground);
    EXPECT_EQ(surface.GetPixel(4, 4), CFlatSheet::ColourOf(1));
    EXPECT_EQ(surface.GetPixel(90, 20), CFlatSheet::ColourOf(kOutsideIcon));
    // The marked cell: framed inside at 100 %; a shrunken cell is too small for that, so there
    // the frame lies around it and the cell itself still shows.
    for (double zoom : kZoomSteps) {
        SCOPED_TRACE(zoom);
        view.SetZoom(zoom);
        view.ShowMarkedCell(5, 5);
        view.Draw(surface);
        const int32_t c = view.CellPixels();
        const int32_t px = (5 - view.scrollX) * c;
        const int32_t py = (5 - view.scrollY) * c;
        const int32_t out = c == 32 ? 0 : 3;
        EXPECT_EQ(surface.GetPixel(px - out, py + c / 2), 0xFF0000u);
        EXPECT_EQ(surface.GetPixel(px + c / 2, py + c - 1 + out), 0xFF0000u);
        EXPECT_EQ(surface.GetPixel(px + 2 - out, py + 2 - out), 0xFFFFFFu);
        EXPECT_EQ(surface.GetPixel(px + c / 2, py + c / 2), ground);
        if (c < 32) {
            EXPECT_EQ(surface.GetPixel(px, py), ground);
            EXPECT_EQ(surface.GetPixel(px + c - 1, py + c - 1), ground);
        }
        view.ClearMark();
    }
}
