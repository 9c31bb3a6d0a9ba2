// The three level dialogs: a new level, a resized level and the level description.
#pragma once

#include <QDialog>

#include <string>
#include <string_view>

class QComboBox;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace kx {

// A minimum width that leaves the window's title whole beside the title bar's buttons.
void GiveTitleRoom(QWidget& window);

// Width and height spin boxes (arrows within 3..1000, any number typed) and the sorted
// style list; OK refuses a size outside the range with the range message and keeps the
// dialog open.
class CLevelSizeDialog : public QDialog {
    Q_OBJECT
public:
    int GetWidth() const;
    int GetHeight() const;
    void SetSize(int width, int height);
    // UTF-8, as the style list shows it.
    std::string GetStyle() const;
    QSpinBox* WidthBox() const { return widthBox; }
    QSpinBox* HeightBox() const { return heightBox; }
    QComboBox* StyleBox() const { return styleBox; }

    void accept() override;

protected:
    CLevelSizeDialog(QWidget* parent, const QString& title);
    // Adds the size rows, the style list (sorted, with the selection) and the buttons;
    // extra goes between the sizes and the style.
    void BuildLayout(QWidget* extra, const std::string_view* styles, int styleCount,
                     std::string_view selected);

private:
    QSpinBox* widthBox = nullptr;
    QSpinBox* heightBox = nullptr;
    QComboBox* styleBox = nullptr;
};

// "Neues Level": 30 x 30, "Rot".
class CNewLevelDialog : public CLevelSizeDialog {
    Q_OBJECT
public:
    explicit CNewLevelDialog(QWidget* parent = nullptr);
};

// "Levelgröße ändern": the field's size, "Links oben", "Leer".
class CResizeLevelDialog : public CLevelSizeDialog {
    Q_OBJECT
public:
    CResizeLevelDialog(int width, int height, QWidget* parent = nullptr);
    // 0 "Links oben", 1 "Links unten", 2 "Rechts oben", 3 "Rechts unten".
    int GetCorner() const;
    QRadioButton* CornerButton(int index) const { return corners[index]; }

private:
    QRadioButton* corners[4] = {};
};

// "Levelbeschreibung": a multi-line edit in which Return makes a new line.
class CDescriptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDescriptionDialog(QWidget* parent = nullptr);
    // Windows-1252 with CR LF line ends, as the document hands it over and takes it back.
    void SetText(const std::string& text);
    std::string GetText() const;
    QPlainTextEdit* Editor() const { return editor; }

private:
    QPlainTextEdit* editor = nullptr;
};

} // namespace kx
