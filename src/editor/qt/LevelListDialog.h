// CLevelListDlg, "Levelliste": the order of the game's levels, edited and saved.
#pragma once

#include <QDialog>

#include <string>

#include "editor/LevelList.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kx {

// Where the game looks for levels besides the list, as the dialog names them.
struct LevelPlaces {
    std::string programFolder;
    std::string documentsLevels; // the documents folder's "Krawlix"
};

class CLevelListDlg : public QDialog {
    Q_OBJECT
public:
    // Reads the list at path, or starts from "*default" (the built-in levels) when there is
    // none; proposedName (Windows-1252) fills the edit field. A list that cannot be written
    // there is said at once, and Save is off.
    CLevelListDlg(const std::string& path, const std::string& proposedName,
                  QWidget* parent = nullptr, const LevelPlaces& places = {});

    const CLevelList& GetList() const { return list; }
    const std::string& GetPath() const { return path; }
    QListWidget* ListBox() const { return listBox; }
    QLineEdit* NameEdit() const { return nameEdit; }
    // "Hin&zufügen", "&Speichern", "Abbrechen", "Ganz oben (&T)", "Hoch (&A)", "Runter (&Y)",
    // "Ganz unten (&B)", "&Entfernen".
    QPushButton* Button(const QString& text) const;
    QLabel* FileLabel() const { return fileLabel; }
    // Shown only when the list cannot be written where it is.
    QLabel* WarningLabel() const { return warningLabel; }

private:
    void ShowList();
    void Run(bool (CLevelList::*operation)());
    void OnAdd();
    void OnSave();

    CLevelList list;
    std::string path;
    QListWidget* listBox = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLabel* fileLabel = nullptr;
    QLabel* warningLabel = nullptr;
};

} // namespace kx
