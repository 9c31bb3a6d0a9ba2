// The editor's view widget with scroll bars beside and below it.
#include "ViewPane.h"

#include <QEvent>
#include <QGridLayout>
#include <QScrollBar>
#include <QSignalBlocker>

#include "EditorViewWidget.h"

namespace kx {

CViewPane::CViewPane(CKrawlixEditorView& view, QWidget* parent) : QWidget(parent), view(view) {
    viewWidget = new CEditorViewWidget(view, this);
    horizontal = new QScrollBar(Qt::Horizontal, this);
    vertical = new QScrollBar(Qt::Vertical, this);
    // The bars never take the keyboard from the view.
    horizontal->setFocusPolicy(Qt::NoFocus);
    vertical->setFocusPolicy(Qt::NoFocus);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(viewWidget, 0, 0);
    grid->addWidget(vertical, 0, 1);
    grid->addWidget(horizontal, 1, 0);
    connect(horizontal, &QScrollBar::valueChanged, this, &CViewPane::OnBarMoved);
    connect(vertical, &QScrollBar::valueChanged, this, &CViewPane::OnBarMoved);
    viewWidget->installEventFilter(this);
    setFocusProxy(viewWidget);
    Sync();
}

void CViewPane::Sync() {
    auto set = [](QScrollBar* bar, const ScrollRange& range, int32_t value) {
        const QSignalBlocker block(bar);
        bar->setRange(range.minimum, range.maximum);
        bar->setPageStep(range.page);
        bar->setSingleStep(1);
        bar->setValue(value);
    };
    set(horizontal, view.HorizontalRange(), view.scrollX);
    set(vertical, view.VerticalRange(), view.scrollY);
}

void CViewPane::OnBarMoved() {
    view.ScrollTo(horizontal->value(), vertical->value());
    viewWidget->SyncWithView();
    Sync();
    if (scrolled) {
        scrolled();
    }
}

bool CViewPane::eventFilter(QObject* watched, QEvent* event) {
    // A new widget size changes how many cells a page holds.
    if (watched == viewWidget && event->type() == QEvent::Resize) {
        const QSize size = viewWidget->SurfaceSize();
        view.SetClientSize(size.width(), size.height());
        Sync();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kx
