// CLevelListDlg, "Levelliste": the order of the game's levels, edited and saved.
#include "LevelListDialog.h"

#include <sys/stat.h>

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "LevelDialogs.h"
#include "QtText.h"
#include "storage/Error.h"

namespace kx {

CLevelListDlg::CLevelListDlg(const std::string& path, const std::string& proposedName,
                             QWidget* parent, const LevelPlaces& places)
    : QDialog(parent), path(path) {
    setWindowTitle(QStringLiteral("Levelliste"));
    listBox = new QListWidget(this);
    listBox->setSortingEnabled(false);
    nameEdit = new QLineEdit(QtFromCp1252(proposedName), this);

    auto makeButton = [this](const char* text) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setAutoDefault(false);
        return button;
    };
    QPushButton* add = makeButton("Hin&zufügen");
    QPushButton* save = makeButton("&Speichern");
    QPushButton* cancel = makeButton("Abbrechen");
    QPushButton* top = makeButton("Ganz oben (&T)");
    QPushButton* up = makeButton("Hoch (&A)");
    QPushButton* down = makeButton("Runter (&Y)");
    QPushButton* bottom = makeButton("Ganz unten (&B)");
    QPushButton* remove = makeButton("&Entfernen");
    save->setDefault(true);

    auto* side = new QVBoxLayout;
    for (QPushButton* button : {save, cancel}) {
        side->addWidget(button);
    }
    side->addSpacing(16);
    for (QPushButton* button : {top, up, down, bottom}) {
        side->addWidget(button);
    }
    side->addSpacing(16);
    side->addWidget(remove);
    side->addStretch(1);
    // Which file this is and where else the game finds levels, so that nothing is a surprise.
    const QString folder = QDir::toNativeSeparators(QtFromPath(places.programFolder));
    const QString documents = QDir::toNativeSeparators(QtFromPath(places.documentsLevels));
    fileLabel = new QLabel(
        QString::fromUtf8("Liste: %1").arg(QDir::toNativeSeparators(QtFromPath(path))), this);
    fileLabel->setWordWrap(true);
    fileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* where = new QLabel(
        QString::fromUtf8("Das Spiel spielt die Level dieser Liste in ihrer Reihenfolge, dann die "
                          "Level-Dateien im Programmordner %1 und im Ordner %2, der keine Liste "
                          "braucht. „*default“ steht für die eingebauten Level.")
            .arg(folder, documents),
        this);
    where->setWordWrap(true);
    warningLabel = new QLabel(this);
    warningLabel->setWordWrap(true);
    warningLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    warningLabel->hide();
    if (!CLevelList::CanWrite(path)) {
        warningLabel->setText(
            QString::fromUtf8("Die Liste kann hier nicht gespeichert werden: der Ordner ist "
                              "schreibgeschützt (ein installiertes Spiel). Speichern Sie Ihre "
                              "Level im Ordner %1 – das Spiel zeigt sie von selbst.")
                .arg(documents));
        warningLabel->show();
        save->setEnabled(false);
    }
    auto* grid = new QGridLayout(this);
    grid->addWidget(fileLabel, 0, 0, 1, 3);
    grid->addWidget(listBox, 1, 0, 1, 2);
    grid->addWidget(nameEdit, 2, 0);
    grid->addWidget(add, 2, 1);
    grid->addLayout(side, 1, 2, 2, 1);
    grid->addWidget(where, 3, 0, 1, 3);
    grid->addWidget(warningLabel, 4, 0, 1, 3);
    resize(560, 440);
    GiveTitleRoom(*this);

    connect(add, &QPushButton::clicked, this, &CLevelListDlg::OnAdd);
    connect(save, &QPushButton::clicked, this, &CLevelListDlg::OnSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(top, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveTop); });
    connect(up, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveUp); });
    connect(down, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveDown); });
    connect(bottom, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveBottom); });
    connect(remove, &QPushButton::clicked, this, [this] { Run(&CLevelList::Delete); });

    std::string error;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        // No list yet: the game plays the built-in levels, and so does the list once saved.
        list.SetItems({"*default"});
    } else if (!list.Load(path, &error) && !error.empty()) {
        QMessageBox::critical(this, QStringLiteral("KrawlixEditor"), QtFromCp1252(error));
    }
    ShowList();
}

QPushButton* CLevelListDlg::Button(const QString& text) const {
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

void CLevelListDlg::ShowList() {
    listBox->clear();
    for (const std::string& item : list.GetItems()) {
        listBox->addItem(QtFromCp1252(item));
    }
    listBox->setCurrentRow(list.GetSelected());
}

void CLevelListDlg::Run(bool (CLevelList::*operation)()) {
    list.SetSelected(listBox->currentRow());
    if ((list.*operation)()) {
        ShowList();
    }
}

void CLevelListDlg::OnAdd() {
    list.SetSelected(listBox->currentRow());
    if (list.Add(Cp1252FromQt(nameEdit->text()))) {
        nameEdit->clear();
        ShowList();
    }
}

void CLevelListDlg::OnSave() {
    try {
        list.Save(path);
    } catch (const CTBException& error) {
        // The dialog stays open, so nothing typed is lost.
        QMessageBox::critical(this, QStringLiteral("KrawlixEditor"),
                              QtFromCp1252(error.GetErrorText()));
        return;
    }
    accept();
}

} // namespace kx
