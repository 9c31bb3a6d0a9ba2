// CLevelListDlg, "Level List": the order of the game's levels, edited and saved.
#include "LevelListDialog.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "QtText.h"
#include "storage/Error.h"

namespace kx {

CLevelListDlg::CLevelListDlg(const std::string& path, const std::string& proposedName,
                             QWidget* parent)
    : QDialog(parent), path(path) {
    setWindowTitle(QStringLiteral("Level List"));
    listBox = new QListWidget(this);
    listBox->setSortingEnabled(false);
    nameEdit = new QLineEdit(QtFromCp1252(proposedName), this);

    auto makeButton = [this](const char* text) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setAutoDefault(false);
        return button;
    };
    QPushButton* add = makeButton("A&dd");
    QPushButton* save = makeButton("&Save");
    QPushButton* cancel = makeButton("Cancel");
    QPushButton* top = makeButton("Top (&T)");
    QPushButton* up = makeButton("Up (&A)");
    QPushButton* down = makeButton("Down (&Y)");
    QPushButton* bottom = makeButton("Bottom (&B)");
    QPushButton* remove = makeButton("D&elete");
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
    auto* grid = new QGridLayout(this);
    grid->addWidget(listBox, 0, 0, 1, 2);
    grid->addWidget(nameEdit, 1, 0);
    grid->addWidget(add, 1, 1);
    grid->addLayout(side, 0, 2, 2, 1);
    resize(460, 360);

    connect(add, &QPushButton::clicked, this, &CLevelListDlg::OnAdd);
    connect(save, &QPushButton::clicked, this, &CLevelListDlg::OnSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(top, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveTop); });
    connect(up, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveUp); });
    connect(down, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveDown); });
    connect(bottom, &QPushButton::clicked, this, [this] { Run(&CLevelList::MoveBottom); });
    connect(remove, &QPushButton::clicked, this, [this] { Run(&CLevelList::Delete); });

    std::string error;
    if (!list.Load(path, &error) && !error.empty()) {
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
