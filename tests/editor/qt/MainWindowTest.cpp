// The editor's main window on the offscreen platform: menus, mouse painting, undo, files,
// ask-to-save.
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWindow>

#include "EditorQtTestSupport.h"
#include "EditorViewWidget.h"
#include "LevelDialogs.h"
#include "editor/IconPalette.h"

using kx::Command;
using kxtest::ModalAnswer;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kx::CKrawlixEditorApp> app;
    kx::CMainFrame* frame = nullptr;

    QPoint PaletteIcon(int index) { return kxtest::PaletteIconCentre(*app, index); }
    static QPoint CellCentre(int x, int y) { return QPoint(32 * x + 16, 32 * y + 16); }

    QStringList MenuTexts(int menu) {
        QStringList texts;
        for (QAction* action : frame->menuBar()->actions()[menu]->menu()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return texts;
    }

private Q_SLOTS:
    void init() { QVERIFY(kxtest::StartFresh(app, frame)); }

    void cleanup() {
        app.reset();
        frame = nullptr;
    }

    void theMenusHoldEveryItemInOrderWithTheirShortcuts() {
        QStringList titles;
        for (QAction* menu : frame->menuBar()->actions()) {
            titles << menu->text();
        }
        QCOMPARE(titles, QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "&?"}));
        QCOMPARE(MenuTexts(0),
                 QStringList({"&Neu...\tStrg+N", "Ö&ffnen...\tStrg+O", "S&peichern\tStrg+S",
                              "Speichern &unter...\tStrg+Umschalt+S", "-", "&Level Testen\tStrg+F5",
                              "-", "&Level-Beschreibung", "Level&liste...", "-", "Letzte Datei",
                              "-", "&Beenden\tStrg+Q"}));
        QCOMPARE(MenuTexts(1),
                 QStringList({"&Rückgängig\tStrg+Z", "&Wiederholen\tStrg+Y", "-", "Malen",
                              "Rechteck", "Rechteck füllen", "Auswählen", "Füllen", "-",
                              "&Ausschneiden\tStrg+X", "&Kopieren\tStrg+C", "&Einfügen\tStrg+V",
                              "Auswahl &leeren\tEntf", "-", "Lego-Blöcke zusammenfassen", "-",
                              "Level &prüfen\tF7", "Lösung &vorführen"}));
        QStringList view = {"&Symbolleiste",
                            "S&tatusleiste",
                            "-",
                            "Ver&größern\tStrg++",
                            "Ver&kleinern\tStrg+-",
                            "Zoom 100 %",
                            "Zoom 50 %",
                            "Zoom 25 %",
                            "Zoom 12,5 %",
                            "-",
                            "Schalterebene anzeigen\tF4",
                            "-",
                            "Objekte anzeigen\tF5",
                            "Gegenstände anzeigen\tF6",
                            "Lebewesen anzeigen\tUmschalt+F7",
                            "Schalter anzeigen\tF8",
                            "Blockierungen anzeigen\tF9",
                            "-",
                            "Icons hochscrollen\tPage Up",
                            "Icons runterscrollen\tPage Down",
                            "-"};
        for (int i = 1; i <= 8; ++i) {
            view << QStringLiteral("Icon-Auswahl Breite %1").arg(i);
        }
        QCOMPARE(MenuTexts(2), view);
        QCOMPARE(MenuTexts(3), QStringList({"Inf&o über KrawlixEditor..."}));

        const std::pair<Command, QList<QKeySequence>> keys[] = {
            {Command::New, {QKeySequence("Ctrl+N")}},
            {Command::Open, {QKeySequence("Ctrl+O")}},
            {Command::Save, {QKeySequence("Ctrl+S")}},
            {Command::SaveAs, {QKeySequence("Ctrl+Shift+S")}},
            {Command::Exit, {QKeySequence("Ctrl+Q")}},
            {Command::CheckLevel, {QKeySequence("F7")}},
            {Command::TestLevel, {QKeySequence("Ctrl+F5")}},
            {Command::Undo, {QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}},
            {Command::Redo, {QKeySequence("Ctrl+Y")}},
            {Command::SwitchLayer, {QKeySequence("F4")}},
            {Command::ShowObjects, {QKeySequence("F5")}},
            {Command::ShowItems, {QKeySequence("F6")}},
            {Command::ShowCreatures, {QKeySequence("Shift+F7")}},
            {Command::ShowSwitches, {QKeySequence("F8")}},
            {Command::ShowBlocking, {QKeySequence("F9")}},
            {Command::Copy, {QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")}},
            {Command::Cut, {QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}},
            {Command::Paste, {QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")}},
            {Command::Delete, {QKeySequence("Del")}},
            {Command::ZoomIn, {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}},
            {Command::ZoomOut, {QKeySequence("Ctrl+-")}},
            // Page Up and Page Down belong to the view (one row), not to the commands.
            {Command::ScrollUp, {}},
            {Command::ScrollDown, {}},
        };
        for (const auto& [command, sequences] : keys) {
            QCOMPARE(frame->Action(command)->shortcuts(), sequences);
        }
    }

    void theToolbarHasItsButtonsInOrderAtSixteenByFifteen() {
        QToolBar* bar = frame->ToolBar();
        QCOMPARE(bar->iconSize(), QSize(16, 15));
        QStringList order;
        for (QAction* action : bar->actions()) {
            order << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
        }
        QCOMPARE(order, QStringList({"Neu",
                                     "Öffnen",
                                     "Speichern",
                                     "|",
                                     "Level Testen",
                                     "Level prüfen",
                                     "|",
                                     "Levelgröße ändern",
                                     "|",
                                     "Malen",
                                     "Rechteck",
                                     "Rechteck füllen",
                                     "|",
                                     "Icons hochscrollen",
                                     "Icons runterscrollen",
                                     "|",
                                     "Schalterebene anzeigen",
                                     "|",
                                     "Objekte anzeigen",
                                     "Gegenstände anzeigen",
                                     "Lebewesen anzeigen",
                                     "Schalter anzeigen",
                                     "Blockierungen anzeigen",
                                     "|",
                                     "Lego-Blöcke zusammenfassen",
                                     "Level-Beschreibung",
                                     "|",
                                     "Info"}));
        // Drawn, not empty: the icon at twice the size has pixels of more than one colour.
        const QImage big = frame->Action(Command::Save)->icon().pixmap(QSize(32, 30)).toImage();
        QCOMPARE(big.size(), QSize(32, 30));
        QVERIFY(big.pixelColor(16, 15) != big.pixelColor(0, 0));
    }

    void theStatusBarSaysBereitAndTheCommandsTheirTexts() {
        QCOMPARE(frame->statusBar()->currentMessage(), QStringLiteral("Bereit"));
        QCOMPARE(frame->Action(Command::ToolPaint)->statusTip(), "Einzelne Felder malen");
        QCOMPARE(frame->Action(Command::Resize)->statusTip(),
                 QString::fromUtf8("Ändert die Größe des Spielfelds."));
        QCOMPARE(frame->Action(Command::LevelList)->statusTip(), "Bearbeitet die Levelliste.");
        QCOMPARE(frame->Action(Command::New)->statusTip(), "Erstellt ein neues Dokument.");
        frame->Action(Command::ToolRectangle)->showStatusText(frame);
        QCOMPARE(frame->statusBar()->currentMessage(), QStringLiteral("Rechtecke malen"));
        frame->statusBar()->clearMessage();
        QCOMPARE(frame->statusBar()->currentMessage(), QStringLiteral("Bereit"));
    }

    void theProgramStartsWithAnElevenByElevenRedField() {
        QCOMPARE(app->GetDocument().width, 11);
        QCOMPARE(app->GetDocument().height, 11);
        QCOMPARE(app->GetDocument().CellAt(0, 0).ground, 1);
        // The title as the window shows it: Qt puts "*" in place of "[*]" while modified.
        QCOMPARE(frame->windowHandle()->title(), QStringLiteral("KrawlixLevel - KrawlixEditor"));
        QVERIFY(frame->Action(Command::ToolPaint)->isChecked());
        QVERIFY(!frame->Action(Command::Undo)->isEnabled());
    }

    void newThroughTheDialogBuildsTheFieldAndCancelKeepsIt() {
        ModalAnswer cancel(kxtest::Reject());
        frame->Action(Command::New)->trigger();
        QVERIFY(cancel.Seen());
        QCOMPARE(app->GetDocument().width, 11);

        ModalAnswer build([](QWidget* modal) {
            auto* dialog = qobject_cast<kx::CNewLevelDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->GetWidth(), 30);
            QCOMPARE(dialog->GetStyle(), std::string("Rot"));
            dialog->SetSize(20, 7);
            dialog->StyleBox()->setCurrentText(QStringLiteral("Blau"));
            dialog->accept();
        });
        frame->Action(Command::New)->trigger();
        QVERIFY(build.Seen());
        QCOMPARE(app->GetDocument().width, 20);
        QCOMPARE(app->GetDocument().height, 7);
        QCOMPARE(app->GetDocument().CellAt(0, 0).ground, 25); // blue left end
        QVERIFY(!app->GetDocument().IsModified());
    }

    void paintingWithTheMouseChangesCellsAndSetsTheModifiedFlag() {
        kx::CEditorViewWidget* view = frame->ViewWidget();
        // Nothing selected: a click in the field changes nothing.
        QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(4, 4));
        QCOMPARE(app->GetDocument().CellAt(4, 4).ground, 64);
        QVERIFY(!app->GetDocument().IsModified());

        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteIcon(0)); // "Mauer #0"
        QCOMPARE(app->GetView().GetPalette().GetSelected(), 0);
        // One stroke over three cells.
        QTest::mousePress(view, Qt::LeftButton, {}, CellCentre(2, 4));
        QTest::mouseMove(view, CellCentre(3, 4));
        QTest::mouseMove(view, CellCentre(4, 4));
        QTest::mouseRelease(view, Qt::LeftButton, {}, CellCentre(4, 4));
        for (int x = 2; x <= 4; ++x) {
            QCOMPARE(app->GetDocument().CellAt(x, 4).ground, 0);
        }
        QCOMPARE(app->GetDocument().CellAt(5, 4).ground, 64);
        QVERIFY(app->GetDocument().IsModified());
        QVERIFY(frame->Action(Command::Undo)->isEnabled());
    }

    void undoAndRedoThroughTheMenuTakeBackAWholeStroke() {
        kx::CEditorViewWidget* view = frame->ViewWidget();
        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteIcon(0));
        QTest::mousePress(view, Qt::LeftButton, {}, CellCentre(2, 2));
        QTest::mouseMove(view, CellCentre(3, 2));
        QTest::mouseRelease(view, Qt::LeftButton, {}, CellCentre(3, 2));
        QVERIFY(!frame->Action(Command::Redo)->isEnabled());

        frame->Action(Command::Undo)->trigger();
        QCOMPARE(app->GetDocument().CellAt(2, 2).ground, 64);
        QCOMPARE(app->GetDocument().CellAt(3, 2).ground, 64);
        QVERIFY(!app->GetDocument().IsModified());
        QVERIFY(!frame->Action(Command::Undo)->isEnabled());
        QVERIFY(frame->Action(Command::Redo)->isEnabled());

        frame->Action(Command::Redo)->trigger();
        QCOMPARE(app->GetDocument().CellAt(2, 2).ground, 0);
        QCOMPARE(app->GetDocument().CellAt(3, 2).ground, 0);
        QVERIFY(app->GetDocument().IsModified());
    }

    void savingAndOpeningRoundTripTheLevel() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("round.kxlev"));
        kx::CEditorViewWidget* view = frame->ViewWidget();
        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteIcon(70)); // "Korn (länger)"
        QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(5, 6));
        QCOMPARE(app->GetDocument().CellAt(5, 6).item, 0);
        QVERIFY(frame->SaveDocumentAs(path));
        QVERIFY(!app->GetDocument().IsModified());
        QCOMPARE(frame->windowHandle()->title(), QStringLiteral("round - KrawlixEditor"));

        frame->OnFileNewFirst();
        QCOMPARE(app->GetDocument().CellAt(5, 6).item, 255);
        QVERIFY(frame->OpenDocumentFile(path));
        QCOMPARE(app->GetDocument().CellAt(5, 6).item, 0);
        QCOMPARE(app->GetDocument().width, 11);
        QVERIFY(!app->GetDocument().IsModified());

        // A file that is not a level: the message, and the document stays.
        const QString junk = folder.filePath(QStringLiteral("junk.kxlev"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a level at all");
        file.close();
        ModalAnswer message(kxtest::Press(QMessageBox::Ok));
        QVERIFY(!frame->OpenDocumentFile(junk));
        QVERIFY(message.Seen());
        QVERIFY(!message.Text().isEmpty());
        QCOMPARE(app->GetDocument().CellAt(5, 6).item, 0);
        QCOMPARE(frame->windowHandle()->title(), QStringLiteral("round - KrawlixEditor"));
    }

    void theAskToSaveAppearsForAModifiedDocumentAndCancelKeepsIt() {
        QTemporaryDir folder;
        const QString other = folder.filePath(QStringLiteral("other.kxlev"));
        QVERIFY(frame->SaveDocumentAs(other));
        kx::CEditorViewWidget* view = frame->ViewWidget();
        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteIcon(0));
        QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(3, 3));
        QVERIFY(app->GetDocument().IsModified());

        ModalAnswer cancel(kxtest::Press(QMessageBox::Cancel));
        QVERIFY(!frame->OpenDocumentFile(other));
        QVERIFY(cancel.Seen());
        QVERIFY(cancel.Text().contains(QStringLiteral("other.kxlev")));
        QCOMPARE(app->GetDocument().CellAt(3, 3).ground, 0);
        QVERIFY(app->GetDocument().IsModified());

        // Closing asks too; Cancel keeps the window open.
        ModalAnswer cancelClose(kxtest::Press(QMessageBox::Cancel));
        QVERIFY(!frame->close());
        QVERIFY(cancelClose.Seen());
        QVERIFY(frame->isVisible());

        // New asks as well; No discards and goes on to the dialog, whose Cancel keeps all.
        ModalAnswer discard(ModalAnswer::Actions{kxtest::Press(QMessageBox::No), kxtest::Reject()});
        frame->Action(Command::New)->trigger();
        QCOMPARE(discard.Count(), 2);
        QCOMPARE(app->GetDocument().CellAt(3, 3).ground, 0);
        QVERIFY(app->GetDocument().IsModified());
        // Yes saves under the present name before opening.
        ModalAnswer save(kxtest::Press(QMessageBox::Yes));
        QVERIFY(frame->OpenDocumentFile(other));
        QVERIFY(save.Seen());
        QCOMPARE(app->GetDocument().CellAt(3, 3).ground, 0);
    }

    void openingFromTheFileMenuAsksToSaveOnceWhenTheAnswerIsNo() {
        QTemporaryDir folder;
        const QString other = folder.filePath(QStringLiteral("other.kxlev"));
        QVERIFY(frame->SaveDocumentAs(other));
        const int ground = app->GetDocument().CellAt(3, 3).ground;
        kx::CEditorViewWidget* view = frame->ViewWidget();
        QTest::mouseClick(view, Qt::LeftButton, {}, PaletteIcon(0));
        QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(3, 3));
        QVERIFY(app->GetDocument().CellAt(3, 3).ground != ground);

        // The file dialog picks the saved file, every question is answered "Nein"; room is
        // left for a question too many, so that it is counted rather than left open.
        const auto answer = [other](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                dialog->selectFile(other);
                // QFileDialog's own accept, reached through its public base.
                static_cast<QDialog*>(dialog)->accept();
            } else {
                kxtest::Press(QMessageBox::No)(modal);
            }
        };
        ModalAnswer answers(ModalAnswer::Actions{answer, answer, answer});
        frame->Action(Command::Open)->trigger();
        QCOMPARE(answers.Count(), 2);
        QCOMPARE(app->GetDocument().CellAt(3, 3).ground, ground);
        QVERIFY(!app->GetDocument().IsModified());
    }

    void theRecentFileListKeepsSixteenNewestFirst() {
        QTemporaryDir folder;
        for (int i = 0; i < 18; ++i) {
            QVERIFY(frame->SaveDocumentAs(folder.filePath(QStringLiteral("f%1.kxlev").arg(i))));
        }
        QVERIFY(frame->OpenDocumentFile(folder.filePath(QStringLiteral("f5.kxlev"))));
        const QStringList files = frame->RecentFiles().GetFiles();
        QCOMPARE(files.size(), 16);
        QVERIFY(files[0].endsWith(QStringLiteral("/f5.kxlev")));
        QVERIFY(files[1].endsWith(QStringLiteral("/f17.kxlev")));
        QVERIFY(!files.join(' ').contains(QStringLiteral("/f0.kxlev")));
        const QList<QAction*> menu = frame->RecentFileActions();
        QCOMPARE(menu.size(), 16);
        QVERIFY(menu[0]->text().startsWith(QStringLiteral("&1 ")));
        QVERIFY(menu[15]->text().startsWith(QStringLiteral("1&6 ")));

        // The next start reads them from the profile; a menu entry opens its file.
        app.reset();
        app = kxtest::StartEditor();
        frame = app->GetMainFrame();
        QCOMPARE(frame->RecentFiles().GetFiles(), files);
        frame->RecentFileActions()[1]->trigger();
        QVERIFY(app->GetDocument().GetPathName().find("f17.kxlev") != std::string::npos);
    }

    void theDisplayTogglesCarryCheckMarksAndF9TogglesBlocking() {
        QVERIFY(frame->Action(Command::ShowObjects)->isChecked());
        QVERIFY(!frame->Action(Command::ShowBlocking)->isChecked());
        frame->ViewWidget()->setFocus();
        QTest::keyClick(frame->ViewWidget(), Qt::Key_F9);
        QVERIFY(app->GetView().showBlocking);
        QVERIFY(frame->Action(Command::ShowBlocking)->isChecked());
        QTest::keyClick(frame->ViewWidget(), Qt::Key_F4);
        QVERIFY(app->GetView().switchLayer);
        QVERIFY(frame->Action(Command::SwitchLayer)->isChecked());
        // Width items: item 6 sets seven columns and is stored.
        frame->Action(Command::Width6)->trigger();
        QCOMPARE(app->GetView().GetPalette().GetWidth(), 7);
        QVERIFY(frame->Action(Command::Width6)->isChecked());
        QVERIFY(!frame->Action(Command::Width3)->isChecked());
        QCOMPARE(app->GetSettings().value("View/Bar Icon Width").toInt(), 7);
    }

    // Run also with QT_SCALE_FACTOR=2: each surface pixel is then a whole 2 x 2 block.
    void theWidgetShowsTheViewsFramePixelForPixel() {
        kx::CEditorViewWidget* widget = frame->ViewWidget();
        const int scale = widget->PixelScale();
        QCOMPARE(scale, qRound(widget->devicePixelRatioF()));
        const QImage shown = widget->grab().toImage().convertToFormat(QImage::Format_RGB888);
        const QSize size = widget->SurfaceSize();
        kx::CDrawDevice24 surface;
        app->GetView().SetClientSize(size.width(), size.height());
        app->GetView().Draw(surface);
        QCOMPARE(shown.width(), surface.GetWidth() * scale);
        QCOMPARE(shown.height(), surface.GetHeight() * scale);
        for (int y = 0; y < surface.GetHeight(); y += 7) {
            for (int x = 0; x < surface.GetWidth(); x += 5) {
                for (int k = 0; k < scale * scale; ++k) {
                    const QRgb pixel = shown.pixel(x * scale + k % scale, y * scale + k / scale);
                    QCOMPARE(static_cast<uint32_t>(pixel & 0xFFFFFF), surface.GetPixel(x, y));
                }
            }
        }
        // A click lands on the cell under the pointer whatever the pixel ratio.
        QTest::mouseClick(widget, Qt::LeftButton, {}, PaletteIcon(0));
        QTest::mouseClick(widget, Qt::LeftButton, {}, CellCentre(6, 3));
        QCOMPARE(app->GetDocument().CellAt(6, 3).ground, 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
