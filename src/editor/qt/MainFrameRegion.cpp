// CMainFrame's region tools, clipboard commands, zoom, and the status bar's panes that say where
// the pointer is and what the cell holds.
#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "EditorViewWidget.h"
#include "MainFrame.h"
#include "QtText.h"
#include "ViewPane.h"
#include "editor/CellNames.h"

namespace kx {

namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

const Command kZoomCommands[] = {Command::Zoom100, Command::Zoom50, Command::Zoom25,
                                 Command::Zoom12};
static_assert(std::size(kZoomCommands) == std::size(kZoomSteps));

} // namespace

void CMainFrame::BuildRegionUi() {
    MakeAction(Command::ToolSelect, Utf8("Auswählen"),
               Utf8("Einen Bereich zum Kopieren, Ausschneiden oder Löschen auswählen"))
        ->setCheckable(true);
    MakeAction(Command::ToolFlood, Utf8("Füllen"), Utf8("Zusammenhängende gleiche Felder füllen"))
        ->setCheckable(true);
    MakeAction(Command::Cut, Utf8("&Ausschneiden\tStrg+X"),
               Utf8("Schneidet die Auswahl aus und legt sie in die Zwischenablage.\nAusschneiden"))
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    MakeAction(Command::Copy, Utf8("&Kopieren\tStrg+C"),
               Utf8("Kopiert die Auswahl in die Zwischenablage.\nKopieren"))
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    MakeAction(Command::Paste, Utf8("&Einfügen\tStrg+V"),
               Utf8("Der Inhalt der Zwischenablage folgt der Maus; ein Klick setzt ihn ab, Esc "
                    "bricht ab.\nEinfügen"))
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    MakeAction(Command::Delete, Utf8("Auswahl &leeren\tEntf"),
               Utf8("Leert die Felder der Auswahl.\nLeeren"))
        ->setShortcut(QKeySequence(Qt::Key_Delete));
    MakeAction(Command::ZoomIn, Utf8("Ver&größern\tStrg++"), Utf8("Zeigt das Feld größer."))
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    MakeAction(Command::ZoomOut, Utf8("Ver&kleinern\tStrg+-"), Utf8("Zeigt mehr vom Feld."))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    for (size_t i = 0; i < std::size(kZoomCommands); ++i) {
        const QString percent = QString::fromStdString(ZoomText(kZoomSteps[i]));
        MakeAction(kZoomCommands[i], Utf8("Zoom %1 %").arg(percent),
                   Utf8("Zeigt das Feld mit %1 %.").arg(percent))
            ->setCheckable(true);
    }

    auto viewCommand = [this](Command command, auto&& call) {
        connect(Action(command), &QAction::triggered, this, [this, call] {
            call();
            AfterViewCommand();
        });
    };
    viewCommand(Command::ToolSelect, [this] { view.SetTool(ToolSelect); });
    viewCommand(Command::ToolFlood, [this] { view.SetTool(ToolFlood); });
    viewCommand(Command::Cut, [this] { view.Cut(); });
    viewCommand(Command::Copy, [this] { view.Copy(); });
    viewCommand(Command::Paste, [this] {
        // The block starts under the pointer when it is over the view.
        const QPoint p = viewWidget->mapFromGlobal(QCursor::pos());
        if (viewWidget->rect().contains(p)) {
            view.OnMouseMove(p.x(), p.y());
        }
        view.BeginPaste();
    });
    viewCommand(Command::Delete, [this] { view.DeleteSelection(); });
    // A zoom by key or menu moves the field under a pointer that stays: the status bar
    // names the cell now under it.
    viewCommand(Command::ZoomIn, [this] {
        view.ZoomIn();
        viewWidget->ReportPointer();
    });
    viewCommand(Command::ZoomOut, [this] {
        view.ZoomOut();
        viewWidget->ReportPointer();
    });
    for (size_t i = 0; i < std::size(kZoomCommands); ++i) {
        const double percent = kZoomSteps[i];
        viewCommand(kZoomCommands[i], [this, percent] {
            view.SetZoom(percent);
            viewWidget->ReportPointer();
        });
    }

    if (QMenu* edit = MenuTitled(menuBar(), Utf8("&Bearbeiten"))) {
        QAction* before = Action(Command::Merge);
        edit->insertActions(before, {Action(Command::ToolSelect), Action(Command::ToolFlood)});
        edit->insertSeparator(before);
        edit->insertActions(before, {Action(Command::Cut), Action(Command::Copy),
                                     Action(Command::Paste), Action(Command::Delete)});
        edit->insertSeparator(before);
    }
    if (QMenu* show = MenuTitled(menuBar(), Utf8("&Ansicht"))) {
        QAction* first = show->actions().value(2);
        QList<QAction*> zoom = {Action(Command::ZoomIn), Action(Command::ZoomOut)};
        for (Command c : kZoomCommands) {
            zoom << Action(c);
        }
        show->insertSeparator(first);
        show->insertActions(first, zoom);
    }

    cellLabel = new QLabel(this);
    sizeLabel = new QLabel(this);
    layerLabel = new QLabel(this);
    cellLabel->setObjectName(QStringLiteral("CellStatus"));
    sizeLabel->setObjectName(QStringLiteral("SizeStatus"));
    layerLabel->setObjectName(QStringLiteral("LayerStatus"));
    cellLabel->setMinimumWidth(320);
    statusBar()->addPermanentWidget(cellLabel, 1);
    statusBar()->addPermanentWidget(sizeLabel);
    statusBar()->addPermanentWidget(layerLabel);
    viewWidget->SetPointerCallback([this](QPoint p, bool inside) { ShowPointer(p, inside); });
    viewPane->SetScrolledCallback([this] { UpdateUi(); });
}

void CMainFrame::ShowPointer(QPoint p, bool inside) {
    int32_t x = 0;
    int32_t y = 0;
    QString text;
    const CIconPalette& palette = view.GetPalette();
    const int32_t w = view.GetClientWidth();
    if (!inside) {
        text.clear();
    } else if (view.CellAtPixel(p.x(), p.y(), x, y)) {
        text = doc.Contains(x, y) ? Utf8("Spalte %1, Zeile %2: %3")
                                        .arg(x)
                                        .arg(y)
                                        .arg(QString::fromStdString(
                                            DescribeCell(doc.CellAt(x, y), view.EditedLayer())))
                                  : Utf8("Spalte %1, Zeile %2: außerhalb des Feldes").arg(x).arg(y);
    } else if (p.x() >= palette.Left(w)) {
        const int32_t index = palette.IndexAt(w, p.x(), p.y());
        if (index >= 0 && index < palette.GetCount()) {
            text = QtFromCp1252(palette.GetEntries()[index].name);
        }
    }
    cellLabel->setText(text);
}

QString CMainFrame::CellStatus() const {
    return cellLabel->text();
}

QString CMainFrame::SizeStatus() const {
    return Utf8("Feld %1 × %2").arg(doc.width).arg(doc.height);
}

QString CMainFrame::LayerStatus() const {
    return Utf8("%1, %2 %")
        .arg(view.switchLayer ? Utf8("Schalterebene") : Utf8("Normale Ebene"))
        .arg(QString::fromStdString(ZoomText(view.zoom)));
}

void CMainFrame::UpdateRegionUi() {
    const bool canChange = view.CanChangeTool();
    Action(Command::ToolSelect)->setEnabled(canChange);
    Action(Command::ToolFlood)->setEnabled(canChange);
    Action(Command::ToolSelect)->setChecked(view.tool == ToolSelect);
    Action(Command::ToolFlood)->setChecked(view.tool == ToolFlood);
    const bool selected = view.GetSelection().has_value() && !view.HasMouseCapture();
    Action(Command::Cut)->setEnabled(selected);
    Action(Command::Copy)->setEnabled(selected);
    Action(Command::Delete)->setEnabled(selected);
    Action(Command::Paste)->setEnabled(!view.GetClipboard().Empty() && !view.HasMouseCapture());
    Action(Command::ZoomIn)->setEnabled(view.zoom != kZoomSteps[0]);
    Action(Command::ZoomOut)->setEnabled(view.zoom != kZoomSteps[std::size(kZoomSteps) - 1]);
    for (size_t i = 0; i < std::size(kZoomCommands); ++i) {
        Action(kZoomCommands[i])->setChecked(view.zoom == kZoomSteps[i]);
    }
    sizeLabel->setText(SizeStatus());
    layerLabel->setText(LayerStatus());
    viewPane->Sync();
}

} // namespace kx
