// The editor's dialogs, level list and test play on the offscreen platform.
#include <QAction>
#include <QComboBox>
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

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New Level"));
        QCOMPARE(dialog.GetWidth(), 30);
        QCOMPARE(dialog.GetHeight(), 30);
        QCOMPARE(ComboItems(dialog.StyleBox()),
                 QStringList({"Blau", "Gelb", "Grün", "Hellblau", "Leer", "Rot"}));
        QCOMPARE(dialog.StyleBox()->currentText(), QStringLiteral("Rot"));
        QCOMPARE(dialog.WidthBox()->minimum(), 3);
        QCOMPARE(dialog.WidthBox()->maximum(), 1000);
        QCOMPARE(dialog.HeightBox()->minimum(), 3);
        QCOMPARE(dialog.HeightBox()->maximum(), 1000);
    }

    void aSizeOutsideTheRangeIsRefusedAndTheDialogStaysOpen() {
        kx::CNewLevelDialog dialog;
        dialog.show();
        dialog.WidthBox()->findChild<QLineEdit*>()->setText(QStringLiteral("2"));
        ModalAnswer message(kxtest::Press(QMessageBox::Ok));
        dialog.accept();
        QVERIFY(message.Seen());
        QCOMPARE(message.Text(),
                 QStringLiteral("Geben Sie eine ganze Zahl zwischen 3 und 1000 ein."));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.isVisible());
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
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Level Description"));
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
        QVERIFY(frame->SaveDocumentAs(folder.filePath(QStringLiteral("Meadow.kxlev"))));
        ModalAnswer list([](QWidget* modal) {
            auto* dialog = qobject_cast<kx::CLevelListDlg*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Level List"));
            QCOMPARE(dialog->GetPath(), kx::CLevelList::FindListPath());
            QCOMPARE(dialog->NameEdit()->text(), QStringLiteral("Meadow"));
            dialog->Button(QStringLiteral("Cancel"))->click();
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
        dialog.Button(QStringLiteral("A&dd"))->click();
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->item(3)->text(), QStringLiteral("new"));
        QVERIFY(dialog.NameEdit()->text().isEmpty());
        // Added with item 1 selected: inserted there and selected.
        box->setCurrentRow(1);
        dialog.NameEdit()->setText(QStringLiteral(" ins "));
        dialog.Button(QStringLiteral("A&dd"))->click();
        QCOMPARE(box->item(1)->text(), QStringLiteral("ins"));
        QCOMPARE(box->currentRow(), 1);
        dialog.Button(QStringLiteral("Bottom (&B)"))->click();
        QCOMPARE(box->item(4)->text(), QStringLiteral("ins"));
        QCOMPARE(box->currentRow(), 4);
        dialog.Button(QStringLiteral("Up (&A)"))->click();
        QCOMPARE(box->item(3)->text(), QStringLiteral("ins"));
        dialog.Button(QStringLiteral("Top (&T)"))->click();
        QCOMPARE(box->item(0)->text(), QStringLiteral("ins"));
        dialog.Button(QStringLiteral("Down (&Y)"))->click();
        QCOMPARE(box->item(1)->text(), QStringLiteral("ins"));
        dialog.Button(QStringLiteral("D&elete"))->click();
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->currentRow(), 0);

        dialog.Button(QStringLiteral("&Save"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ReadFile(path), QByteArray("one\r\ntwo\r\nthree\r\nnew\r\n"));
    }

    void aLevelListThatCannotBeSavedShowsTheMessageAndStaysOpen() {
        QTemporaryDir folder;
        // A folder where the file should be: it cannot be created.
        const QString path = folder.filePath(QStringLiteral("Levels.lst"));
        QVERIFY(QDir().mkpath(path));
        kx::CLevelListDlg dialog(kx::PathFromQt(path), "x");
        dialog.show();
        dialog.Button(QStringLiteral("A&dd"))->click();
        ModalAnswer message(kxtest::Press(QMessageBox::Ok));
        dialog.Button(QStringLiteral("&Save"))->click();
        QVERIFY(message.Seen());
        QVERIFY(message.Text().contains(QStringLiteral("Levels.lst")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.ListBox()->count(), 1);
    }

    void testPlayStartsTheGameBesideTheEditorOnTheTestFile() {
        QTemporaryDir folder;
        const QString log = folder.filePath(QStringLiteral("arguments.txt"));
        qputenv("KX_FAKE_GAME_LOG", log.toLocal8Bit());
        kx::TestPlaySettings settings;
        settings.folder = kx::PathFromQt(folder.path());
        settings.program = KX_FAKE_GAME;
        frame->SetTestPlaySettings(settings);
        frame->Action(Command::TestLevel)->trigger();
        QVERIFY(kxtest::WaitForFile(log));
        const QList<QByteArray> arguments = ReadFile(log).split('\n');
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
