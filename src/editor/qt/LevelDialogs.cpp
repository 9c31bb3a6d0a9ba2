// The three level dialogs: a new level, a resized level and the level description.
#include "LevelDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

#include "QtText.h"
#include "editor/WallStyle.h"

namespace kx {

namespace {

// Takes any number as typed, so that OK can refuse one outside 3..1000 with the range
// message: a spin box limited to the range drops the keystroke instead (2000 became 200).
// The arrows stay within the range.
class CSizeSpinBox : public QSpinBox {
public:
    explicit CSizeSpinBox(QWidget* parent) : QSpinBox(parent) {
        setRange(0, kTypedSizeLimit);
        setAccelerated(true);
    }
    void stepBy(int steps) override {
        setValue(std::clamp(value() + steps, kDialogMinSize, kDialogMaxSize));
        selectAll();
    }

protected:
    StepEnabled stepEnabled() const override {
        StepEnabled enabled = StepNone;
        if (value() < kDialogMaxSize) {
            enabled |= StepUpEnabled;
        }
        if (value() > kDialogMinSize) {
            enabled |= StepDownEnabled;
        }
        return enabled;
    }

private:
    static constexpr int kTypedSizeLimit = 9999999;
};

QSpinBox* MakeSizeBox(QWidget* parent) {
    return new CSizeSpinBox(parent);
}

QDialogButtonBox* MakeOkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

void GiveTitleRoom(QWidget& window) {
    // The icon and the window manager's three buttons beside the text.
    constexpr int kDecoration = 160;
    const int needed = window.fontMetrics().horizontalAdvance(window.windowTitle()) + kDecoration;
    window.setMinimumWidth(
        std::max({window.minimumWidth(), window.minimumSizeHint().width(), needed}));
}

CLevelSizeDialog::CLevelSizeDialog(QWidget* parent, const QString& title) : QDialog(parent) {
    setWindowTitle(title);
    widthBox = MakeSizeBox(this);
    heightBox = MakeSizeBox(this);
    styleBox = new QComboBox(this);
}

void CLevelSizeDialog::BuildLayout(QWidget* extra, const std::string_view* styles, int styleCount,
                                   std::string_view selected) {
    QStringList names;
    for (int i = 0; i < styleCount; ++i) {
        names << QString::fromUtf8(styles[i].data(), static_cast<qsizetype>(styles[i].size()));
    }
    names.sort(Qt::CaseInsensitive);
    styleBox->addItems(names);
    styleBox->setCurrentText(
        QString::fromUtf8(selected.data(), static_cast<qsizetype>(selected.size())));

    auto* sizes = new QFormLayout;
    sizes->addRow(QStringLiteral("Breite:"), widthBox);
    sizes->addRow(QString::fromUtf8("Höhe:"), heightBox);
    auto* style = new QFormLayout;
    style->addRow(QStringLiteral("Stil:"), styleBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sizes);
    if (extra != nullptr) {
        layout->addWidget(extra);
    }
    layout->addLayout(style);
    layout->addWidget(MakeOkCancel(this));
    // Room for the whole title, which window managers cut to the dialog's width.
    GiveTitleRoom(*this);
}

int CLevelSizeDialog::GetWidth() const {
    return widthBox->value();
}

int CLevelSizeDialog::GetHeight() const {
    return heightBox->value();
}

void CLevelSizeDialog::SetSize(int width, int height) {
    widthBox->setValue(width);
    heightBox->setValue(height);
}

std::string CLevelSizeDialog::GetStyle() const {
    return styleBox->currentText().toStdString();
}

void CLevelSizeDialog::accept() {
    // A spin box holds its last valid value while the text is being typed; a text outside
    // the range is refused here, as the dialogs always did.
    for (QSpinBox* box : {widthBox, heightBox}) {
        bool isNumber = false;
        const int typed = box->cleanText().toInt(&isNumber);
        if (!isNumber || typed < kDialogMinSize || typed > kDialogMaxSize) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("Geben Sie eine ganze Zahl zwischen %1 und %2 ein.")
                                     .arg(kDialogMinSize)
                                     .arg(kDialogMaxSize));
            box->setFocus();
            box->selectAll();
            return;
        }
        box->setValue(typed);
    }
    QDialog::accept();
}

CNewLevelDialog::CNewLevelDialog(QWidget* parent)
    : CLevelSizeDialog(parent, QStringLiteral("Neues Level")) {
    SetSize(kNewLevelDefaultSize, kNewLevelDefaultSize);
    BuildLayout(nullptr, kNewLevelStyleNames.data(), static_cast<int>(kNewLevelStyleNames.size()),
                kNewLevelDefaultStyle);
}

CResizeLevelDialog::CResizeLevelDialog(int width, int height, QWidget* parent)
    : CLevelSizeDialog(parent, QString::fromUtf8("Levelgröße ändern")) {
    SetSize(width, height);
    auto* group = new QGroupBox(this);
    auto* column = new QVBoxLayout(group);
    const char* const names[4] = {"Links oben", "Links unten", "Rechts oben", "Rechts unten"};
    for (int i = 0; i < 4; ++i) {
        corners[i] = new QRadioButton(QString::fromUtf8(names[i]), group);
        column->addWidget(corners[i]);
    }
    corners[0]->setChecked(true);
    BuildLayout(group, kResizeStyleNames.data(), static_cast<int>(kResizeStyleNames.size()),
                kResizeDefaultStyle);
}

int CResizeLevelDialog::GetCorner() const {
    for (int i = 0; i < 4; ++i) {
        if (corners[i]->isChecked()) {
            return i;
        }
    }
    return 0;
}

CDescriptionDialog::CDescriptionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Levelbeschreibung"));
    editor = new QPlainTextEdit(this);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setTabChangesFocus(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor);
    layout->addWidget(MakeOkCancel(this));
    resize(420, 260);
    GiveTitleRoom(*this);
}

void CDescriptionDialog::SetText(const std::string& text) {
    QString shown = QtFromCp1252(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    editor->setPlainText(shown);
}

std::string CDescriptionDialog::GetText() const {
    QString text = editor->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return Cp1252FromQt(text);
}

} // namespace kx
