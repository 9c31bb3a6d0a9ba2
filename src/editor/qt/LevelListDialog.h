// CLevelListDlg, "Level List": the order of the game's levels, edited and saved.
#pragma once

#include <QDialog>

#include <string>

#include "editor/LevelList.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kx {

class CLevelListDlg : public QDialog {
    Q_OBJECT
public:
    // Reads the list at path; proposedName (Windows-1252) fills the edit field.
    CLevelListDlg(const std::string& path, const std::string& proposedName,
                  QWidget* parent = nullptr);

    const CLevelList& GetList() const { return list; }
    const std::string& GetPath() const { return path; }
    QListWidget* ListBox() const { return listBox; }
    QLineEdit* NameEdit() const { return nameEdit; }
    // "A&dd", "&Save", "Cancel", "Top (&T)", "Up (&A)", "Down (&Y)", "Bottom (&B)", "D&elete".
    QPushButton* Button(const QString& text) const;

private:
    void ShowList();
    void Run(bool (CLevelList::*operation)());
    void OnAdd();
    void OnSave();

    CLevelList list;
    std::string path;
    QListWidget* listBox = nullptr;
    QLineEdit* nameEdit = nullptr;
};

} // namespace kx
