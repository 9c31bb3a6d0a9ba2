// The editor's dialogs, level list and test play on the offscreen platform.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "EditorQtTestSupport.h"
#include "LevelDialogs.h"
#include "LevelListDialog.h"
#include "QtText.h"
#include "editor/LevelList.h"

using kx::Command;
using kxtest::ModalAnswer;

namespace {

QStringList ComboItems(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

} // namespace

class DialogsAndTestPlayTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kx::CKrawlixEditorApp> app;
    kx::CMainFrame* frame = nullptr;

private Q_SLOTS:
    void init() { QVERIFY(kxtest::StartFresh(app, frame)); }

    void cleanup() {
        app.reset();
        frame = nullptr;
    }

    void theNewLevelDialogOffersSortedStylesAndSizesFromThreeToAThousand() {
        kx::CNewLevelDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Neues Level"));
        QCOMPARE(dialog.GetWidth(), 30);
        QCOMPARE(dialog.GetHeight(), 30);
        QCOMPARE(ComboItems(dialog.StyleBox()),
                 QStringList({"Blau", "Gelb", "Grün", "Hellblau", "Leer", "Rot"}));
        QCOMPARE(dialog.StyleBox()->currentText(), QStringLiteral("Rot"));
        // The arrows stop at 3 and 1000.
        for (QSpinBox* box : {dialog.WidthBox(), dialog.HeightBox()}) {
            box->setValue(4);
            box->stepBy(-5);
            QCOMPARE(box->value(), 3);
            box->setValue(999);
            box->stepBy(5);
            QCOMPARE(box->value(), 1000);
        }
    }

    void aSizeOutsideTheRangeIsRefusedAndTheDialogStaysOpen() {
        kx::CNewLevelDialog dialog;
        dialog.show();
        // Typed as a user types, key by key: 2000 stays 2000 (it became 200), 2 stays 2, and
        // both are refused, in either box, also after the focus has left the box.
        const std::pair<QSpinBox*, const char*> typed[] = {
            {dialog.WidthBox(), "2000"}, {dialog.HeightBox(), "2"}, {dialog.HeightBox(), "1001"}};
        for (const auto& [box, text] : typed) {
            dialog.WidthBox()->setValue(30);
            dialog.HeightBox()->setValue(30);
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, QString::fromLatin1(text));
            QCOMPARE(box->cleanText(), QString::fromLatin1(text));
            dialog.StyleBox()->setFocus();
            QCOMPARE(box->cleanText(), QString::fromLatin1(text));
            ModalAnswer message(kxtest::Press(QMessageBox::Ok));
            dialog.accept();
            QVERIFY(message.Seen());
            QCOMPARE(message.Text(),
                     QStringLiteral("Geben Sie eine ganze Zahl zwischen 3 und 1000 ein."));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(dialog.isVisible());
        }
        dialog.HeightBox()->setValue(30);
        dialog.WidthBox()->findChild<QLineEdit*>()->setText(QStringLiteral("1000"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetWidth(), 1000);
    }

    void theResizeCommandOpensWithTheFieldSizeAndResizesAtTheChosenCorner() {
        ModalAnswer resize([](QWidget* modal) {
            auto* dialog = qobject_cast<kx::CResizeLevelDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString::fromUtf8("Levelgröße ändern"));
            QCOMPARE(dialog->GetWidth(), 11);
            QCOMPARE(dialog->GetHeight(), 11);
            QCOMPARE(dialog->GetCorner(), 0);
            QCOMPARE(dialog->StyleBox()->currentText(), QStringLiteral("Leer"));
            QCOMPARE(dialog->CornerButton(3)->text(), QStringLiteral("Rechts unten"));
            dialog->SetSize(13, 11);
            dialog->CornerButton(0)->setChecked(true);
            dialog->accept();
        });
        frame->Action(Command::Resize)->trigger();
        QVERIFY(resize.Seen());
        QCOMPARE(app->GetDocument().width, 13);
        // Two empty columns at the left; the old red corner moved right by two.
        QCOMPARE(app->GetDocument().CellAt(0, 0).ground, 255);
        QCOMPARE(app->GetDocument().CellAt(2, 0).ground, 1);
        QVERIFY(app->GetDocument().IsModified());
    }

    void theDescriptionDialogEditsTheDescriptionWithLineBreaks() {
        ModalAnswer edit([](QWidget* modal) {
            auto* dialog = qobject_cast<kx::CDescriptionDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Levelbeschreibung"));
            QVERIFY(dialog->Editor()->toPlainText().isEmpty());
            dialog->Editor()->setPlainText(QString::fromUtf8("  Grüne Wiese\nzweite Zeile \n"));
            dialog->accept();
        });
        frame->Action(Command::Description)->trigger();
        QVERIFY(edit.Seen());
        QCOMPARE(app->GetDocument().GetDescription(),
                 kx::Cp1252FromUtf8("Grüne Wiese\nzweite Zeile"));
        QVERIFY(app->GetDocument().IsModified());

        ModalAnswer cancel([](QWidget* modal) {
            auto* dialog = qobject_cast<kx::CDescriptionDialog*>(modal);
            QCOMPARE(dialog->Editor()->toPlainText(),
                     QString::fromUtf8("Grüne Wiese\nzweite Zeile"));
            dialog->Editor()->setPlainText(QStringLiteral("weg"));
            dialog->reject();
        });
        frame->Action(Command::Description)->trigger();
        QVERIFY(cancel.Seen());
        QCOMPARE(app->GetDocument().GetDescription(),
                 kx::Cp1252FromUtf8("Grüne Wiese\nzweite Zeile"));
    }

    void theLevelListMenuItemOpensTheListTheGameReads() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Meadow.kxlev"));
        QVERIFY(frame->SaveDocumentAs(path));
        ModalAnswer list([path](QWidget* modal) {
            auto* dialog = qobject_cast<kx::CLevelListDlg*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Levelliste"));
            QCOMPARE(dialog->GetPath(), kx::CLevelList::FindListPath());
            // Saved outside the program folder: the entry names the file, so the game finds it.
            QCOMPARE(dialog->NameEdit()->text(), QStringLiteral("#|") + path);
            QVERIFY(dialog->FileLabel()->text().contains(kx::QtFromPath(dialog->GetPath())));
            dialog->Button(QStringLiteral("Abbrechen"))->click();
        });
        frame->Action(Command::LevelList)->trigger();
        QVERIFY(list.Seen());
    }

    void theLevelListButtonsEditTheListAndSaveWritesCrLfLines() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Data/Levels.lst"));
        QDir().mkpath(folder.filePath(QStringLiteral("Data")));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("  one \n\n   \ntwo\r\nthree\n");
        }
        kx::CLevelListDlg dialog(kx::PathFromQt(path), "new");
        QListWidget* box = dialog.ListBox();
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->item(0)->text(), QStringLiteral("one"));
        QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("new"));

        // Added with nothing selected: appended, the edit emptied.
        dialog.Button(QString::fromUtf8("Hin&zufügen"))->click();
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->item(3)->text(), QStringLiteral("new"));
        QVERIFY(dialog.NameEdit()->text().isEmpty());
        // Added with item 1 selected: inserted there and selected.
        box->setCurrentRow(1);
        dialog.NameEdit()->setText(QStringLiteral(" ins "));
        dialog.Button(QString::fromUtf8("Hin&zufügen"))->click();
        QCOMPARE(box->item(1)->text(), QStringLiteral("ins"));
        QCOMPARE(box->currentRow(), 1);
        dialog.Button(QString::fromUtf8("Ganz unten (&B)"))->click();
        QCOMPARE(box->item(4)->text(), QStringLiteral("ins"));
        QCOMPARE(box->currentRow(), 4);
        dialog.Button(QString::fromUtf8("Hoch (&A)"))->click();
        QCOMPARE(box->item(3)->text(), QStringLiteral("ins"));
        dialog.Button(QString::fromUtf8("Ganz oben (&T)"))->click();
        QCOMPARE(box->item(0)->text(), QStringLiteral("ins"));
        dialog.Button(QString::fromUtf8("Runter (&Y)"))->click();
        QCOMPARE(box->item(1)->text(), QStringLiteral("ins"));
        dialog.Button(QString::fromUtf8("&Entfernen"))->click();
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->currentRow(), 0);

        dialog.Button(QString::fromUtf8("&Speichern"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(kxtest::ReadBytes(path), QByteArray("one\r\ntwo\r\nthree\r\nnew\r\n"));
    }

    void aLevelListThatCannotBeSavedShowsTheMessageAndStaysOpen() {
        QTemporaryDir folder;
        // A folder where the file should be: it cannot be created.
        const QString path = folder.filePath(QStringLiteral("Levels.lst"));
        QVERIFY(QDir().mkpath(path));
        kx::CLevelListDlg dialog(kx::PathFromQt(path), "x");
        dialog.show();
        dialog.Button(QString::fromUtf8("Hin&zufügen"))->click();
        ModalAnswer message(kxtest::Press(QMessageBox::Ok));
        dialog.Button(QString::fromUtf8("&Speichern"))->click();
        QVERIFY(message.Seen());
        QVERIFY(message.Text().contains(QStringLiteral("Levels.lst")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.ListBox()->count(), 1);
    }

    void testPlayStartsTheGameBesideTheEditorOnTheTestFile() {
        QTemporaryDir folder;
        const QList<QByteArray> arguments =
            kxtest::ArgumentsOfFakeGame(*frame, Command::TestLevel, folder.path());
        QVERIFY(arguments.size() >= 1);
        QVERIFY(arguments[0].startsWith("/level:" + folder.path().toLocal8Bit() + "/test_"));
        const QString testFile = QString::fromLocal8Bit(arguments[0].mid(7));
        QVERIFY(testFile.endsWith(QStringLiteral(".kxlev")));
        QVERIFY(QFile::exists(testFile));
        QVERIFY(frame->windowState() & Qt::WindowMinimized);
        // The document is untouched: no name, not modified.
        QVERIFY(app->GetDocument().GetPathName().empty());
        QVERIFY(!app->GetDocument().IsModified());
    }

    void aMissingGameIsReportedAndTheWindowStaysAsItWas() {
        QTemporaryDir folder;
        kx::TestPlaySettings settings;
        settings.folder = kx::PathFromQt(folder.path());
        settings.program = kx::PathFromQt(folder.filePath(QStringLiteral("no-such-game")));
        frame->SetTestPlaySettings(settings);
        ModalAnswer message(kxtest::Press(QMessageBox::Ok));
        frame->Action(Command::TestLevel)->trigger();
        QVERIFY(message.Seen());
        QCOMPARE(message.Text(), QStringLiteral("Krawlix konnte nicht gestartet werden."));
        QVERIFY(!(frame->windowState() & Qt::WindowMinimized));
    }
};

QTEST_MAIN(DialogsAndTestPlayTest)
#include "DialogsAndTestPlayTest.moc"
