// The editor's window with the region tools, the zoom and the status bar's cell panes, on the
// offscreen platform, driven by mouse, wheel and keys as an author uses them.
#include <QAction>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "CheckPanel.h"
#include "EditorQtTestSupport.h"
#include "EditorViewWidget.h"
#include "ViewPane.h"
#include "editor/IconPalette.h"

using kx::Command;

class RegionAndZoomTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kx::CKrawlixEditorApp> app;
    kx::CMainFrame* frame = nullptr;

    kx::CEditorViewWidget* Widget() { return frame->ViewWidget(); }
    kx::CKrawlixEditorView& View() { return app->GetView(); }
    kx::CKrawlixEditorDoc& Doc() { return app->GetDocument(); }
    QPoint PaletteIcon(int index) { return kxtest::PaletteIconCentre(*app, index); }
    QPoint Cell(int x, int y) {
        const int c = View().CellPixels();
        return QPoint((x - View().scrollX) * c + c / 2, (y - View().scrollY) * c + c / 2);
    }
    void Select(int index) { QTest::mouseClick(Widget(), Qt::LeftButton, {}, PaletteIcon(index)); }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(Widget(), Qt::LeftButton, {}, from);
        QTest::mouseMove(Widget(), to);
        QTest::mouseRelease(Widget(), Qt::LeftButton, {}, to);
    }
    void Wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent wheel(at, Widget()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Widget(), &wheel);
    }
    void NewField(int w, int h) {
        Doc().NewDocument(w, h, "Rot");
        View().OnInitialUpdate();
        frame->UpdateUi();
    }

private Q_SLOTS:
    void init() { QVERIFY(kxtest::StartFresh(app, frame)); }
    void cleanup() {
        app.reset();
        frame = nullptr;
    }

    void theStatusBarAndTooltipsNameCellsAndEntriesInGerman() {
        Doc().CellAt(3, 4).ground = 66;
        Doc().CellAt(3, 4).item = 0;
        QTest::mouseMove(Widget(), Cell(3, 4));
        QCOMPARE(frame->CellStatus(), QString::fromUtf8("Spalte 3, Zeile 4: Eis, Korn (länger)"));
        QCOMPARE(frame->SizeStatus(), QString::fromUtf8("Feld 11 × 11"));
        QCOMPARE(frame->LayerStatus(), QString::fromUtf8("Normale Ebene, 100 %"));
        QTest::mouseMove(Widget(), Cell(12, 4));
        QVERIFY(frame->CellStatus().endsWith(QString::fromUtf8("außerhalb des Feldes")));
        // Over the palette: the entry's name, in the status bar and as the tooltip.
        QTest::mouseMove(Widget(), PaletteIcon(41));
        QCOMPARE(frame->CellStatus(), QStringLiteral("Wasser"));
        QHelpEvent help(QEvent::ToolTip, PaletteIcon(150), Widget()->mapToGlobal(PaletteIcon(150)));
        QApplication::sendEvent(Widget(), &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Schalter 3"));
        // The switch layer: named in the status bar; the cell says what that layer holds.
        QTest::keyClick(Widget(), Qt::Key_F4);
        QTest::mouseMove(Widget(), Cell(3, 4));
        QCOMPARE(frame->CellStatus(), QString::fromUtf8("Spalte 3, Zeile 4: Boden"));
        QCOMPARE(frame->LayerStatus(), QString::fromUtf8("Schalterebene, 100 %"));
    }

    void zoomByKeysAndWheelWithScrollBarsAndToolsAtEveryStep() {
        NewField(200, 200);
        kx::CViewPane* pane = frame->ViewPane();
        QVERIFY(pane->HorizontalBar()->isVisible());
        QTest::keyClick(Widget(), Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(Widget(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(View().zoom, 25.0);
        QVERIFY(frame->Action(Command::Zoom25)->isChecked());
        // The smallest step: in the window's first size on a 1280 x 1024 screen the whole
        // 200 x 200 field shows, with the check list beside it, and the bars have nothing to
        // scroll.
        QTest::keyClick(Widget(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(View().zoom, 12.5);
        QVERIFY(frame->Action(Command::Zoom12)->isChecked());
        QVERIFY(!frame->Action(Command::ZoomOut)->isEnabled());
        QCOMPARE(frame->LayerStatus(), QString::fromUtf8("Normale Ebene, 12,5 %"));
        const QSize first = kx::FirstWindowSize(QSize(1280, 1024 - 40));
        QVERIFY(first.width() <= 1280 && first.height() <= 1024 - 40);
        frame->resize(first);
        frame->Action(Command::CheckLevel)->trigger();
        frame->CheckPanel()->Cancel();
        QTRY_VERIFY(frame->ViewPane()->width() < first.width() - 200);
        QTRY_COMPARE(View().HorizontalRange().maximum, 0);
        QCOMPARE(View().VerticalRange().maximum, 0);
        QVERIFY(View().VisibleColumns() >= 200 && View().VisibleRows() >= 200);
        QCOMPARE(kx::FirstWindowSize(QSize(800, 600)), QSize(900, 640));
        frame->CheckPanel()->hide();
        frame->resize(900, 640);
        QTest::keyClick(Widget(), Qt::Key_Plus, Qt::ControlModifier);
        QTRY_COMPARE(View().VisibleColumns(), (Widget()->width() - 3 * 32 - 4 + 7) / 8);
        pane->VerticalBar()->setValue(0);
        // At 25 % the bars span the field less one view of it.
        const int columns = View().VisibleColumns();
        QCOMPARE(columns, (Widget()->width() - 3 * 32 - 4 + 7) / 8);
        QCOMPARE(pane->HorizontalBar()->maximum(), 200 - columns);
        QCOMPARE(pane->HorizontalBar()->pageStep(), columns);
        pane->HorizontalBar()->setValue(40);
        QCOMPARE(View().scrollX, 40);
        // Painting, a rectangle and a pick at 25 %.
        Select(70);
        QTest::mouseClick(Widget(), Qt::LeftButton, {}, Cell(45, 6));
        QCOMPARE(Doc().CellAt(45, 6).item, 0);
        frame->Action(Command::ToolFilledRectangle)->trigger();
        Select(84);
        Drag(Cell(50, 10), Cell(52, 11));
        QCOMPARE(Doc().CellAt(52, 11).objects[0], 6);
        QCOMPARE(Doc().CellAt(53, 11).objects[0], 255);
        QTest::mouseClick(Widget(), Qt::MiddleButton, {}, Cell(45, 6));
        QCOMPARE(View().GetPalette().GetSelected(), 70);
        // Strg+wheel zooms in about the pointer: the cell under it stays.
        const QPoint at = Cell(60, 20);
        Wheel(at, 120, Qt::ControlModifier);
        QCOMPARE(View().zoom, 50.0);
        int x = 0, y = 0;
        QVERIFY(View().CellAtPixel(at.x(), at.y(), x, y));
        QCOMPARE(QPoint(x, y), QPoint(60, 20));
        QCOMPARE(pane->HorizontalBar()->value(), View().scrollX);
        QTest::keyClick(Widget(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(View().zoom, 100.0);
        QTest::mouseClick(Widget(), Qt::LeftButton, {},
                          Cell(View().scrollX + 2, View().scrollY + 3));
        QCOMPARE(Doc().CellAt(View().scrollX + 2, View().scrollY + 3).item, 0); // the picked corn
    }

    void regionToolsCopyPasteClearFloodAndPickWithMouseAndKeys() {
        Select(70);
        QTest::mouseClick(Widget(), Qt::LeftButton, {}, Cell(2, 2));
        QTest::mouseClick(Widget(), Qt::LeftButton, {}, Cell(3, 2));
        QVERIFY(!frame->Action(Command::Copy)->isEnabled());
        frame->Action(Command::ToolSelect)->trigger();
        QVERIFY(frame->Action(Command::ToolSelect)->isChecked());
        Drag(Cell(2, 2), Cell(3, 2));
        QVERIFY(frame->Action(Command::Copy)->isEnabled());
        QTest::keyClick(Widget(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(frame->Action(Command::Paste)->isEnabled());
        const size_t steps = Doc().GetHistory().StepCount();
        // Strg+V: the block follows the pointer; a click puts it down as one step.
        QTest::mouseMove(Widget(), Cell(5, 7));
        QTest::keyClick(Widget(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(View().IsPasting());
        QTest::mouseMove(Widget(), Cell(6, 8));
        QCOMPARE(QPoint(View().pasteX, View().pasteY), QPoint(6, 8));
        QCOMPARE(Doc().CellAt(6, 8).item, 255);
        QTest::mouseClick(Widget(), Qt::LeftButton, {}, Cell(6, 8));
        QCOMPARE(Doc().CellAt(6, 8).item, 0);
        QCOMPARE(Doc().CellAt(7, 8).item, 0);
        QCOMPARE(Doc().GetHistory().StepCount(), steps + 1);
        // Entf clears the pasted cells, Esc drops the selection.
        QTest::keyClick(Widget(), Qt::Key_Delete);
        QCOMPARE(Doc().CellAt(6, 8).item, 255);
        QTest::keyClick(Widget(), Qt::Key_Escape);
        QVERIFY(!View().GetSelection().has_value());
        // Strg+X cuts; undo brings the corn back.
        Drag(Cell(2, 2), Cell(2, 2));
        QTest::keyClick(Widget(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(Doc().CellAt(2, 2).item, 255);
        frame->Action(Command::Undo)->trigger();
        QCOMPARE(Doc().CellAt(2, 2).item, 0);
        // Flood fill with ice from the middle, then Alt+click picks the ice back.
        frame->Action(Command::ToolFlood)->trigger();
        Select(42);
        QTest::mouseClick(Widget(), Qt::LeftButton, {}, Cell(5, 5));
        QCOMPARE(Doc().CellAt(1, 9).ground, 66);
        QCOMPARE(Doc().CellAt(0, 9).ground, 6); // the wall stops it
        Select(0);
        QTest::mouseClick(Widget(), Qt::LeftButton, Qt::AltModifier, Cell(8, 8));
        QCOMPARE(View().GetPalette().GetSelected(), 42);
        QCOMPARE(Doc().CellAt(8, 8).ground, 66); // the pick changed nothing
    }

    void aRectangleDraggedPastTheEdgeScrollsAndEscCancelsIt() {
        NewField(100, 100);
        Select(70);
        frame->Action(Command::ToolRectangle)->trigger();
        QTest::mousePress(Widget(), Qt::LeftButton, {}, Cell(3, 3));
        QTest::mouseMove(Widget(), QPoint(Widget()->width() - 10, 100));
        QTRY_VERIFY(View().scrollX >= 3);
        QTest::keyClick(Widget(), Qt::Key_Escape);
        QVERIFY(!View().dragging);
        QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(Widget()->width() - 10, 100));
        QVERIFY(!Doc().IsModified());
        const int scrolled = View().scrollX;
        QTest::qWait(200);
        QCOMPARE(View().scrollX, scrolled); // the scrolling stopped with the drag
    }
};

QTEST_MAIN(RegionAndZoomTest)
#include "RegionAndZoomTest.moc"
