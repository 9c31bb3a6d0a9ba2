// The editor view as a model: tools under the mouse, scrolling limits, keys, and what each cell
// shows.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "EditorViewFixture.h"
#include "RecordingSheet.h"
#include "editor/EditorView.h"
#include "graphics/FontTable.h"

using namespace kx;
using kxtest::CRecordingSheet;

namespace {

class View : public kxtest::EditorViewFixture {
protected:
    void Click(int32_t px, int32_t py) {
        view.OnLeftDown(px, py);
        view.OnLeftUp(px, py);
    }
    void Draw() {
        full.calls.clear();
        trans.calls.clear();
        view.Draw(surface);
    }
};

} // namespace

TEST_F(View, WithoutASelectionNoToolActs) {
    view.OnLeftDown(40, 40);
    view.OnMouseMove(80, 40);
    view.OnLeftUp(80, 40);
    view.SetTool(ToolRectangle);
    view.OnLeftDown(40, 40);
    EXPECT_FALSE(view.dragging) << "no rectangle starts";
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(View, APaintStrokeIsOneStepAndStopsAtTheSeparator) {
    view.GetPalette().SetSelected(70); // corn
    view.scrollX = -1;                 // column 0 of the view is outside the field
    view.OnLeftDown(10, 40);           // outside: the drag starts, nothing painted
    EXPECT_TRUE(view.dragging);
    view.OnMouseMove(40, 40);  // field (0, 1)
    view.OnMouseMove(70, 40);  // field (1, 1)
    view.OnMouseMove(698, 40); // left of the separator: field (20, 1), outside
    view.OnMouseMove(701, 40); // the separator
    view.OnMouseMove(720, 40); // the palette
    view.OnLeftUp(720, 40);
    EXPECT_EQ(doc.CellAt(0, 1).item, 0);
    EXPECT_EQ(doc.CellAt(1, 1).item, 0);
    int corn = 0;
    for (const FieldCell& c : doc.cells) {
        corn += c.item == 0;
    }
    EXPECT_EQ(corn, 2);
    EXPECT_EQ(view.GetPalette().GetSelected(), 70) << "the palette took no click";
    EXPECT_EQ(doc.GetHistory().StepCount(), 1u);
    view.Undo();
    EXPECT_EQ(doc.CellAt(0, 1).item, 255);
    EXPECT_EQ(doc.CellAt(1, 1).item, 255);
}

TEST_F(View, ARectangleIsMarkedWhileDraggedAndAppliedOnRelease) {
    view.GetPalette().SetSelected(84); // cactus
    view.SetTool(ToolRectangle);
    view.OnLeftDown(2 * 32 + 5, 3 * 32 + 5);
    EXPECT_FALSE(view.SetTool(ToolPaint)) << "not while dragging";
    view.OnMouseMove(5 * 32, 5 * 32); // (5, 5)
    Draw();
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const bool marked =
                x >= 2 && x <= 5 && y >= 3 && y <= 5 && (x == 2 || x == 5 || y == 3 || y == 5);
            const auto drawn = trans.At(32 * x, 32 * y);
            const bool hasMarker =
                std::find(drawn.begin(), drawn.end(), kRectangleMarker) != drawn.end();
            ASSERT_EQ(hasMarker, marked) << x << "," << y;
        }
    }
    EXPECT_EQ(doc.CellAt(2, 3).objects[0], 255) << "nothing applied while dragging";
    doc.ApplyEntry(9, 9, kxtest::Entry(70), FieldLayer::Normal);
    EXPECT_FALSE(view.CanUndo());
    EXPECT_FALSE(view.Undo()) << "not while a rectangle is being drawn";
    // Far outside, the corner is clamped into the field.
    view.OnMouseMove(5000, 5000);
    EXPECT_EQ(view.x2, 10);
    EXPECT_EQ(view.y2, 10);
    view.OnMouseMove(5 * 32, 5 * 32);
    view.OnLeftUp(5 * 32, 5 * 32);
    EXPECT_EQ(doc.CellAt(2, 3).objects[0], 6);
    EXPECT_EQ(doc.CellAt(5, 5).objects[0], 6);
    EXPECT_EQ(doc.CellAt(3, 4).objects[0], 255);
    EXPECT_FALSE(view.dragging);
    EXPECT_TRUE(view.CanUndo());
}

TEST_F(View, AOneCellFilledRectangleMarksAndAppliesExactlyThatCell) {
    view.GetPalette().SetSelected(71);
    view.SetTool(ToolFilledRectangle);
    view.OnLeftDown(4 * 32 + 1, 6 * 32 + 1);
    Draw();
    int markers = 0;
    for (const auto& c : trans.calls) {
        markers += c.index == kRectangleMarker;
    }
    EXPECT_EQ(markers, 1);
    EXPECT_EQ(trans.At(4 * 32, 6 * 32).back(), kRectangleMarker);
    const auto before = kxtest::Copy(doc);
    view.OnLeftUp(4 * 32 + 1, 6 * 32 + 1);
    EXPECT_EQ(doc.CellAt(4, 6).item, 1);
    doc.CellAt(4, 6).item = 255;
    EXPECT_TRUE(kxtest::SameField(doc, before));
}

TEST_F(View, TheOutsideCellShowsBothBlockingMarkersOverTheEmptyTile) {
    view.ToggleShowBlocking();
    view.scrollX = -2;
    Draw();
    EXPECT_EQ(full.At(0, 0), std::vector<int32_t>{127});
    EXPECT_EQ(trans.At(0, 0), (std::vector<int32_t>{248, 249}));
    // A wall of the field: worms and ghosts are blocked; its plain ground inside is not.
    EXPECT_EQ(trans.At(64, 0), (std::vector<int32_t>{248, 249}));
    EXPECT_TRUE(trans.At(96, 32).empty());
}

TEST_F(View, TheSwitchLayerShowsItsOwnFieldsAndNoCreatures) {
    FieldCell& c = doc.CellAt(1, 1);
    c.creature = 3;
    c.item = 0;
    c.swItem = 2;
    c.swObjects[0] = 5;
    c.objects[0] = 1;
    Draw();
    EXPECT_EQ(full.At(32, 32), std::vector<int32_t>{64});
    EXPECT_EQ(trans.At(32, 32), (std::vector<int32_t>{1, 128, 147}));
    view.ToggleSwitchLayer();
    Draw();
    EXPECT_EQ(trans.At(32, 32), (std::vector<int32_t>{5, 130}));
    view.ToggleShowObjects();
    view.ToggleShowItems();
    Draw();
    EXPECT_TRUE(trans.At(32, 32).empty());
}

TEST_F(View, ArrowKeysStepAQuarterViewOrOneWithCtrlAndStopHalfAViewBeyondTheEdge) {
    doc.NewDocument(60, 40, "Rot");
    // Ck = (800 - 37) / 32 = 23 columns, Rk = 19 rows; steps of 5 and 4.
    view.OnKey(EditorKey::Right, false);
    EXPECT_EQ(view.scrollX, 5);
    view.OnKey(EditorKey::Right, true);
    EXPECT_EQ(view.scrollX, 6);
    for (int i = 0; i < 20; ++i) {
        view.OnKey(EditorKey::Right, false);
    }
    EXPECT_EQ(view.scrollX, 60 - 23 / 2) << "width - Ck / 2";
    for (int i = 0; i < 20; ++i) {
        view.OnKey(EditorKey::Left, false);
    }
    EXPECT_EQ(view.scrollX, -11);
    view.OnKey(EditorKey::Down, false);
    EXPECT_EQ(view.scrollY, 4);
    view.OnKey(EditorKey::Up, true);
    EXPECT_EQ(view.scrollY, 3);
    for (int i = 0; i < 10; ++i) {
        view.OnKey(EditorKey::Up, false);
    }
    EXPECT_EQ(view.scrollY, -9);
    for (int i = 0; i < 20; ++i) {
        view.OnKey(EditorKey::Down, false);
    }
    EXPECT_EQ(view.scrollY, 40 - 19 / 2);
    // A small field may not scroll beyond half a view on either side.
    doc.NewDocument(11, 11, "Rot");
    view.OnInitialUpdate();
    view.OnKey(EditorKey::Right, false);
    EXPECT_EQ(view.scrollX, 0);
    view.OnKey(EditorKey::Home, false);
    EXPECT_EQ(view.scrollX, 0);
    EXPECT_EQ(view.scrollY, 0);
}

TEST_F(View, RightDraggingTheFieldKeepsOneColumnAndRowInView) {
    view.OnRightDown(300, 300);
    view.OnMouseMove(300 - 3 * 32, 300 - 2 * 32);
    EXPECT_EQ(view.scrollX, 3);
    EXPECT_EQ(view.scrollY, 2);
    view.OnMouseMove(-100000, -100000);
    EXPECT_EQ(view.scrollX, 10) << "width - 1";
    EXPECT_EQ(view.scrollY, 10);
    view.OnMouseMove(100000, 100000);
    EXPECT_EQ(view.scrollX, 1 - 22) << "C = (800 - 96 + 27) / 32 = 22";
    EXPECT_EQ(view.scrollY, 1 - 19);
    view.OnRightUp(0, 0);
    view.OnMouseMove(300, 300);
    EXPECT_EQ(view.scrollX, -21) << "the drag ended";
    // On the palette the right button drags the icons instead.
    view.OnRightDown(750, 300);
    view.OnMouseMove(750, 300 - 64);
    EXPECT_EQ(view.GetPalette().GetFirst(), 6);
}

TEST_F(View, PageKeysScrollThePaletteByOneRowAndInitialUpdateResetsTheView) {
    view.OnKey(EditorKey::PageDown, false);
    EXPECT_EQ(view.GetPalette().GetFirst(), 3);
    view.PaletteScrollDown();
    EXPECT_EQ(view.GetPalette().GetFirst(), 15);
    view.OnKey(EditorKey::PageUp, false);
    EXPECT_EQ(view.GetPalette().GetFirst(), 12);
    view.SetTool(ToolFilledRectangle);
    view.ToggleSwitchLayer();
    view.ToggleShowItems();
    view.ToggleShowBlocking();
    view.scrollX = 4;
    view.OnInitialUpdate();
    EXPECT_EQ(view.tool, ToolPaint);
    EXPECT_FALSE(view.switchLayer);
    EXPECT_TRUE(view.showItems);
    EXPECT_TRUE(view.showBlocking) << "kept";
    EXPECT_EQ(view.GetPalette().GetFirst(), 12) << "kept";
    EXPECT_EQ(view.scrollX, 0);
}
