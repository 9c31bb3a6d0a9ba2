// The editor's level check and solver, the way a new level reaches the game, damaged files, Qt's
// German texts and the window's habits, on the offscreen platform.
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include "CheckPanel.h"
#include "EditorQtTestSupport.h"
#include "LevelListDialog.h"
#include "QtText.h"
#include "editor/LevelList.h"
#include "field/LevelFile.h"
#include "levelsource/LevelSource.h"
#include "levelsource/Tape.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

using kx::Command;
using kxtest::ModalAnswer;

namespace {

// A level written from its source, as "level compile" writes it.
QByteArray LevelBytes(const char* source) {
    kx::CGameFieldBase field;
    std::string error;
    if (!kx::CompileLevelSource(source, field, error)) {
        qWarning("%s", error.c_str());
        return {};
    }
    kx::CMemBlock block;
    {
        kx::CMemSerializer out(block, true);
        kx::WriteLevel(field, out);
    }
    return QByteArray(reinterpret_cast<const char*>(block.data),
                      static_cast<qsizetype>(block.size));
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One corn the worm reaches by turning, one it can never reach.
const char* const kTwoCorn = "map\n"
                             "#########\n"
                             "#bW....##\n"
                             "#.....c#c\n"
                             "#########\n"
                             "end\n";
const char* const kSolvable = "description Zwei Körner\n"
                              "map\n"
                              "########\n"
                              "#bW....#\n"
                              "#....c.#\n"
                              "#c.....#\n"
                              "########\n"
                              "end\n";

} // namespace

class CheckAndFilesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kx::CKrawlixEditorApp> app;
    kx::CMainFrame* frame = nullptr;
    QTemporaryDir folder;

    bool OpenSource(const char* source) {
        const QString path = folder.filePath(QStringLiteral("level.kxlev"));
        return WriteBytes(path, LevelBytes(source)) && frame->OpenDocumentFile(path);
    }

private Q_SLOTS:
    void init() {
        QVERIFY(kxtest::StartFresh(app, frame));
        frame->SetLevelFolder(folder.filePath(QStringLiteral("Dokumente/Krawlix")));
    }

    void cleanup() {
        app.reset();
        frame = nullptr;
    }

    void theCheckListsWarningsWithCellsAndChoosingOneMarksAndShowsTheCell() {
        QVERIFY(OpenSource(kTwoCorn));
        kx::CCheckPanel* panel = frame->CheckPanel();
        QVERIFY(panel->isHidden());
        QTest::keyClick(frame, Qt::Key_F7);
        QVERIFY(panel->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!panel->IsSolving(), 10000);
        // The corn behind the wall, in German with its cell; the missing description too.
        QStringList texts;
        for (int i = 0; i < panel->WarningList()->count(); ++i) {
            texts << panel->WarningList()->item(i)->text();
        }
        QVERIFY2(texts.contains(QString::fromUtf8("(8, 2) Korn, das kein Wurm erreichen kann")),
                 qPrintable(texts.join('|')));
        QVERIFY(texts.contains(
            QString::fromUtf8("Keine Beschreibung: das Level beginnt ohne Hilfetext")));
        QCOMPARE(panel->SolverLabel()->text(), QStringLiteral("Nicht lösbar"));
        QVERIFY(!frame->Action(Command::Demonstrate)->isEnabled());

        // Chosen: the view scrolls the cell into its middle and frames it.
        kx::CKrawlixEditorView& view = app->GetView();
        view.SetClientSize(200, 200); // a field part of three columns: the cell must scroll
        const int row = static_cast<int>(
            texts.indexOf(QString::fromUtf8("(8, 2) Korn, das kein Wurm erreichen kann")));
        panel->WarningList()->setCurrentRow(row);
        QCOMPARE(view.markX, 8);
        QCOMPARE(view.markY, 2);
        QVERIFY(view.scrollX > 0);
        QVERIFY(8 >= view.scrollX && 8 < view.scrollX + 3);
        kx::CDrawDevice24 surface;
        view.Draw(surface);
        const int px = 32 * (8 - view.scrollX);
        const int py = 32 * (2 - view.scrollY);
        QCOMPARE(surface.GetPixel(px, py + 10), 0xFF0000u);
        QCOMPARE(surface.GetPixel(px + 2, py + 10), 0xFFFFFFu);
        // A cell already in full view is marked where it is: the field does not move away.
        view.SetClientSize(800, 600);
        view.ScrollTo(0, 0);
        panel->WarningList()->setCurrentRow(row == 0 ? 1 : 0);
        panel->WarningList()->setCurrentRow(row);
        QCOMPARE(view.markX, 8);
        QCOMPARE(QPoint(view.scrollX, view.scrollY), QPoint(0, 0));
    }

    void aSolvedLevelIsDemonstratedWithItsSolutionAsATape() {
        QVERIFY(OpenSource(kSolvable));
        frame->Action(Command::CheckLevel)->trigger();
        kx::CCheckPanel* panel = frame->CheckPanel();
        QTRY_VERIFY_WITH_TIMEOUT(!panel->IsSolving(), 20000);
        QVERIFY(panel->HasSolution());
        const kx::Tape solution = panel->Solution();
        QVERIFY(!solution.keys.empty());
        QCOMPARE(panel->SolverLabel()->text(),
                 QStringLiteral("Lösbar mit %1 Tasten").arg(solution.keys.size()));
        QVERIFY(frame->Action(Command::Demonstrate)->isEnabled());

        const QList<QByteArray> arguments =
            kxtest::ArgumentsOfFakeGame(*frame, Command::Demonstrate, folder.path());
        QVERIFY(arguments.size() >= 2);
        QVERIFY(arguments[0].startsWith("/level:"));
        QVERIFY(arguments[1].startsWith("/tape:"));
        // The tape the game gets is the solution, for the level as it was solved.
        kx::Tape tape;
        std::string error;
        QVERIFY(kx::ParseTape(
            kxtest::ReadBytes(QString::fromLocal8Bit(arguments[1].mid(6))).toStdString(), tape,
            error));
        QCOMPARE(tape.keys.size(), solution.keys.size());
        QCOMPARE(kx::FormatTape(tape), kx::FormatTape(solution));
        QCOMPARE(tape.expect.value_or(""), std::string("won"));
        kx::CGameFieldBase played;
        {
            const QByteArray bytes = kxtest::ReadBytes(QString::fromLocal8Bit(arguments[0].mid(7)));
            kx::CMemBlock block;
            block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
            kx::CMemSerializer in(block, false);
            QVERIFY(kx::ReadLevelNoThrow(played, in));
        }
        QVERIFY(kx::SameLevel(played, app->GetDocument()));
        // The game has ended: the editor's window is back and active.
        QTRY_VERIFY_WITH_TIMEOUT(!(frame->windowState() & Qt::WindowMinimized), 5000);
        QVERIFY(frame->isVisible());

        // A change of the level takes the solution away.
        app->GetDocument().ResizeField(9, 5, "Rot", kx::CornerTopLeft);
        QVERIFY(!panel->HasSolution());
        QVERIFY(!frame->Action(Command::Demonstrate)->isEnabled());
    }

    void aThousandByThousandFieldIsSearchedInTheBackgroundAndCancelled() {
        kx::CKrawlixEditorDoc& doc = app->GetDocument();
        doc.NewDocument(1000, 1000, "Rot");
        doc.cells[1001].creature = 2; // body, head to its right
        doc.cells[1002].creature = 5;
        doc.cells[998 * 1000 + 500].item = 0;
        doc.cells[500 * 1000 + 998].item = 0;
        kx::CCheckPanel* panel = frame->CheckPanel();
        frame->Action(Command::CheckLevel)->trigger();
        // The call came back at once; the search goes on beside the window, which keeps
        // drawing the count of states.
        QVERIFY(panel->IsSolving());
        QTRY_VERIFY_WITH_TIMEOUT(panel->SolverLabel()->text().startsWith(QStringLiteral("Sucht")),
                                 20000);
        const QString first = panel->SolverLabel()->text();
        QTRY_VERIFY_WITH_TIMEOUT(panel->SolverLabel()->text() != first, 10000);
        QVERIFY(panel->CancelButton()->isEnabled());
        QTest::mouseClick(panel->CancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!panel->IsSolving(), 10000);
        QVERIFY2(panel->SolverLabel()->text().startsWith(QStringLiteral("Abgebrochen nach")),
                 qPrintable(panel->SolverLabel()->text()));
        QVERIFY(!panel->HasSolution());
    }

    void theSolverSaysWhereItStopped() {
        kx::SolveResult result;
        kx::SolveLimits limits;
        result.states = 1234567;
        result.status = kx::SolveStatus::StateLimit;
        QCOMPARE(kx::SolverAnswerText(result, limits),
                 QString::fromUtf8("Gestoppt nach 1.234.567 Zuständen: Grenze von 20.000.000 "
                                   "Zuständen erreicht"));
        result.status = kx::SolveStatus::TimeLimit;
        QCOMPARE(kx::SolverAnswerText(result, limits),
                 QString::fromUtf8("Gestoppt nach 1.234.567 Zuständen: Grenze von 120 Sekunden "
                                   "erreicht"));
    }

    void saveAsForANewLevelStartsInTheFolderTheGameListsAndSaysSo() {
        const QString levels = folder.filePath(QStringLiteral("Dokumente/Krawlix"));
        QVERIFY(!QDir(levels).exists());
        QString shown;
        QString hint;
        ModalAnswer dialog([&](QWidget* modal) {
            auto* files = qobject_cast<QFileDialog*>(modal);
            QVERIFY(files != nullptr);
            shown = files->directory().absolutePath();
            if (auto* label = files->findChild<QLabel*>(QStringLiteral("LevelFolderHint"))) {
                hint = label->text();
            }
            files->reject();
        });
        QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(dialog.Seen());
        QCOMPARE(shown, levels);
        QVERIFY(QDir(levels).exists());
        QVERIFY(hint.contains(QStringLiteral("von selbst")));
        QVERIFY(hint.contains(QDir::toNativeSeparators(levels)));
    }

    void theLevelListStartsFromTheBuiltInLevelsAndSaysWhenItCannotBeSaved() {
        // No list yet: "*default" first, so saving keeps the built-in levels.
        const QString path = folder.filePath(QStringLiteral("levels.lst"));
        {
            kx::CLevelListDlg dialog(kx::PathFromQt(path), "#|/home/a/Wald.kxlev");
            QCOMPARE(dialog.ListBox()->count(), 1);
            QCOMPARE(dialog.ListBox()->item(0)->text(), QStringLiteral("*default"));
            QVERIFY(dialog.WarningLabel()->isHidden());
            dialog.Button(QString::fromUtf8("Hin&zufügen"))->click();
            dialog.Button(QStringLiteral("&Speichern"))->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(kxtest::ReadBytes(path), QByteArray("*default\r\n#|/home/a/Wald.kxlev\r\n"));
        }
        // A folder that takes no files (here a file in the way, which even root cannot
        // write into): said at once, Save is off.
        QVERIFY(WriteBytes(folder.filePath(QStringLiteral("program")), "x"));
        kx::CLevelListDlg blocked(
            kx::PathFromQt(folder.filePath(QStringLiteral("program/levels.lst"))), "x");
        blocked.show();
        QVERIFY(blocked.WarningLabel()->isVisible());
        QVERIFY(blocked.WarningLabel()->text().contains(QStringLiteral("nicht gespeichert")));
        QVERIFY(!blocked.Button(QStringLiteral("&Speichern"))->isEnabled());
    }

    void aCutShortOrDamagedLevelIsRefusedWithItsOwnMessage() {
        const QByteArray whole = LevelBytes(kSolvable);
        QVERIFY(whole.size() > 40);
        app->GetDocument().ResizeField(12, 11, "Rot", kx::CornerTopLeft);
        const auto cellsBefore = app->GetDocument().cells;
        for (const qsizetype length : {qsizetype(10), whole.size() / 2, whole.size() - 3}) {
            const QString path = folder.filePath(QStringLiteral("cut.kxlev"));
            QVERIFY(WriteBytes(path, whole.left(length)));
            // "Save the changes?" No, then the message.
            QString text;
            ModalAnswer answers({kxtest::Press(QMessageBox::No), [&text](QWidget* modal) {
                                     if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                                         text = box->text();
                                     }
                                     kxtest::Press(QMessageBox::Ok)(modal);
                                 }});
            QVERIFY(!frame->OpenDocumentFile(path));
            QCOMPARE(answers.Count(), 2);
            QVERIFY2(
                text.startsWith(QString::fromUtf8("Die Datei ist beschädigt oder unvollständig")),
                qPrintable(text));
            QVERIFY(app->GetDocument().cells == cellsBefore);
            QVERIFY(app->GetDocument().IsModified());
        }
    }

    void qtsOwnTextsAreGerman() {
        QVERIFY2(kx::InstallQtGerman(), "Qt's German translation (qt6-translations-l10n)");
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        QFileDialog files(nullptr, QStringLiteral("Speichern unter"), folder.path());
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        QDialogButtonBox* buttons = files.findChild<QDialogButtonBox*>();
        QVERIFY(buttons != nullptr);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("S&peichern"));
    }

    void theTitleMarksChangesAndTheWindowKeepsItsPlaceAndSize() {
        QVERIFY(frame->windowTitle().contains(QStringLiteral("[*]")));
        QVERIFY(!frame->isWindowModified());
        app->GetDocument().ResizeField(12, 11, "Rot", kx::CornerTopLeft);
        QVERIFY(frame->isWindowModified());
        QCOMPARE(frame->windowHandle()->title(), QStringLiteral("KrawlixLevel* - KrawlixEditor"));
        app->GetDocument().Undo();
        QVERIFY(!frame->isWindowModified());

        frame->resize(720, 530);
        frame->move(40, 30);
        QTest::qWait(50);
        const QRect before = frame->geometry();
        QVERIFY(frame->close());
        app.reset();
        app = kxtest::StartEditor(); // the same profile
        QVERIFY(app);
        frame = app->GetMainFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QCOMPARE(frame->geometry().size(), before.size());
        QCOMPARE(frame->geometry().topLeft(), before.topLeft());
    }
};

QTEST_MAIN(CheckAndFilesTest)
#include "CheckAndFilesTest.moc"
