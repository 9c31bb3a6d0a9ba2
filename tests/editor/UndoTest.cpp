// Undo and redo: every gesture one step, restored byte for byte, and the modified flag following
// them.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/EditorDoc.h"

using namespace kx;
using kxtest::Copy;
using kxtest::Entry;
using kxtest::SameField;

TEST(Undo, EveryGestureIsOneStepRestoredByteForByteBothWays) {
    CKrawlixEditorDoc doc;
    std::vector<CGameFieldBase> states;
    states.push_back(Copy(doc));
    auto gesture = [&](auto&& action) {
        action();
        states.push_back(Copy(doc));
    };
    gesture([&] { // a paint stroke while the button is held
        CGestureScope stroke(doc);
        for (int x = 1; x < 8; ++x) {
            doc.ApplyEntry(x, 2, Entry(70), FieldLayer::Normal);
        }
    });
    gesture([&] { doc.ApplyRectangle(1, 4, 6, 8, Entry(84), FieldLayer::Switch, false); });
    gesture([&] { doc.ApplyRectangle(2, 5, 5, 7, Entry(20), FieldLayer::Normal, true); });
    gesture([&] { doc.MergeLegoBlocks(FieldLayer::Normal); });
    gesture([&] { doc.ResizeField(15, 6, "Grün", CornerTopLeft); });
    gesture([&] { doc.SetDescriptionFromEdit("Hallo\r\nWelt"); });
    gesture([&] { doc.CreateStyledField(20, 20, "Leer"); });
    gesture([&] { doc.ApplyEntry(3, 3, Entry(158), FieldLayer::Normal); });
    // A fill of a large field, kept as whole fields rather than cell by cell.
    gesture([&] { doc.ResizeField(120, 120, "Blau", CornerBottomRight); });
    gesture([&] { doc.ApplyRectangle(0, 0, 119, 119, Entry(41), FieldLayer::Normal, true); });
    ASSERT_EQ(doc.GetHistory().StepCount(), states.size() - 1);

    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(doc.Undo());
        ASSERT_TRUE(SameField(doc, states[i - 1])) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(doc.Undo());
    EXPECT_FALSE(doc.IsModified()) << "back at the state the document started with";
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(doc.Redo());
        ASSERT_TRUE(SameField(doc, states[i])) << "redo to state " << i;
    }
    EXPECT_FALSE(doc.Redo());
}

TEST(Undo, KeepsAtLeastAHundredStepsAndDropsRedoOnANewEdit) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(30, 30, "Rot");
    const auto start = Copy(doc);
    for (int i = 0; i < 150; ++i) {
        doc.ApplyEntry(1 + i % 28, 1 + i / 28, Entry(70 + i % 8), FieldLayer::Normal);
    }
    for (int i = 0; i < 150; ++i) {
        ASSERT_TRUE(doc.Undo()) << i;
    }
    EXPECT_TRUE(SameField(doc, start));
    doc.Redo();
    doc.ApplyEntry(5, 5, Entry(0), FieldLayer::Normal);
    EXPECT_FALSE(doc.CanRedo());
}

TEST(Undo, TheModifiedFlagFollowsTheUndoPosition) {
    CKrawlixEditorDoc doc;
    doc.ApplyEntry(2, 2, Entry(70), FieldLayer::Normal);
    doc.SetModifiedFlag(false); // saved here
    doc.ApplyEntry(3, 3, Entry(70), FieldLayer::Normal);
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());
    // Branching off below the saved state makes it unreachable: modified for good.
    doc.Undo();
    doc.ApplyEntry(4, 4, Entry(71), FieldLayer::Normal);
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
}

TEST(Undo, NewAndOpenClearTheHistoryAndAStrokeIsUndoneOnlyAfterItEnds) {
    CKrawlixEditorDoc doc;
    doc.BeginGesture();
    doc.ApplyEntry(2, 2, Entry(70), FieldLayer::Normal);
    EXPECT_FALSE(doc.CanUndo()) << "not while the button is held";
    doc.ApplyEntry(3, 2, Entry(70), FieldLayer::Normal);
    doc.EndGesture();
    EXPECT_EQ(doc.GetHistory().StepCount(), 1u);
    EXPECT_TRUE(doc.IsModified());
    doc.NewDocument(5, 5, "Rot");
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.askedBefore);
    EXPECT_EQ(doc.GetPathName(), "");
}

TEST(Undo, AResizeInsideAStrokeIsUndoneWithTheStrokeToTheStateBeforeIt) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(12, 9, "Rot");
    doc.ApplyEntry(4, 4, Entry(70), FieldLayer::Normal);
    const auto start = Copy(doc);
    doc.BeginGesture();
    doc.ApplyEntry(2, 2, Entry(71), FieldLayer::Normal);
    doc.ResizeField(20, 5, "Grün", CornerBottomRight);
    doc.ApplyEntry(15, 3, Entry(72), FieldLayer::Normal);
    doc.EndGesture();
    const auto after = Copy(doc);
    EXPECT_EQ(doc.GetHistory().StepCount(), 3u) << "the new field, the cell, the stroke";
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(SameField(doc, start));
    ASSERT_TRUE(doc.Redo());
    EXPECT_TRUE(SameField(doc, after));
}

TEST(Undo, ResizesOfAMillionCellsUndoBackToTheFieldTheyStartedFrom) {
    CKrawlixEditorDoc doc;
    doc.CreateStyledField(1000, 1000, "Rot");
    for (int i = 0; i < 1000; i += 7) {
        doc.ApplyEntry(i, i, Entry(70 + i % 8), FieldLayer::Normal);
    }
    const auto start = Copy(doc);
    const size_t steps = doc.GetHistory().StepCount();
    constexpr int kResizes = 10;
    for (int i = 0; i < kResizes; ++i) {
        const int32_t side = i % 2 == 0 ? 999 : 1000;
        doc.ResizeField(side, side, "Blau", i % 4);
    }
    ASSERT_EQ(doc.GetHistory().StepCount(), steps + kResizes);
    for (int i = 0; i < kResizes; ++i)
        ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(SameField(doc, start));
}
