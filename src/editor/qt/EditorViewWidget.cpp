// The widget that shows the editor's view: forwards mouse, wheel and keys, copies the frame 1:1.
#include "EditorViewWidget.h"

#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "QtText.h"

#include <algorithm>
#include <cmath>

namespace kx {

CEditorViewWidget::CEditorViewWidget(CKrawlixEditorView& view, QWidget* parent)
    : QWidget(parent), view(view) {
    // The frame covers every pixel: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button tell the status bar where the pointer is and carry a paste.
    setMouseTracking(true);
    setMinimumSize(160, 120);
    autoScroll.setInterval(60);
    connect(&autoScroll, &QTimer::timeout, this, &CEditorViewWidget::OnAutoScroll);
}

void CEditorViewWidget::OnAutoScroll() {
    if (!view.WantsAutoScroll()) {
        autoScroll.stop();
        return;
    }
    if (view.AutoScrollStep()) {
        AfterEvent();
    }
}

int CEditorViewWidget::PixelScale() const {
    return std::max(1, static_cast<int>(std::floor(devicePixelRatioF() + 1e-6)));
}

QSize CEditorViewWidget::SurfaceSize() const {
    const double ratio = devicePixelRatioF();
    const int scale = PixelScale();
    const int deviceWidth = static_cast<int>(std::ceil(width() * ratio - 1e-6));
    const int deviceHeight = static_cast<int>(std::ceil(height() * ratio - 1e-6));
    return QSize(std::max(1, (deviceWidth + scale - 1) / scale),
                 std::max(1, (deviceHeight + scale - 1) / scale));
}

QPoint CEditorViewWidget::ToSurface(const QPointF& logical) const {
    const double factor = devicePixelRatioF() / PixelScale();
    return QPoint(static_cast<int>(std::floor(logical.x() * factor)),
                  static_cast<int>(std::floor(logical.y() * factor)));
}

void CEditorViewWidget::RenderFrame() {
    const QSize size = SurfaceSize();
    view.SetClientSize(size.width(), size.height());
    view.Draw(surface);
    if (!surface.HasPixels()) {
        frame = QImage();
        return;
    }
    frame = QImage(surface.GetWidth(), surface.GetHeight(), QImage::Format_BGR888);
    surface.CopyTopDownTo(frame.bits(), static_cast<int32_t>(frame.bytesPerLine()));
}

QImage CEditorViewWidget::GrabFrame() {
    RenderFrame();
    return frame;
}

void CEditorViewWidget::paintEvent(QPaintEvent*) {
    view.TakeRepaintRequest();
    RenderFrame();
    QPainter painter(this);
    if (frame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // Device coordinates, each surface pixel a whole block of device pixels, no smoothing.
    const double ratio = devicePixelRatioF();
    const int scale = PixelScale();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.drawImage(QRect(0, 0, frame.width() * scale, frame.height() * scale), frame);
}

void CEditorViewWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize size = SurfaceSize();
    view.SetClientSize(size.width(), size.height());
}

void CEditorViewWidget::AfterEvent() {
    SyncWithView();
    if (changed) {
        changed();
    }
}

void CEditorViewWidget::SyncWithView() {
    if (view.TakeRepaintRequest()) {
        update();
    }
}

void CEditorViewWidget::mousePressEvent(QMouseEvent* event) {
    const QSize size = SurfaceSize();
    view.SetClientSize(size.width(), size.height());
    const QPoint p = ToSurface(event->position());
    const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
    if (event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && alt && !view.HasMouseCapture())) {
        view.OnPick(p.x(), p.y());
    } else if (event->button() == Qt::LeftButton) {
        view.OnLeftDown(p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        view.OnRightDown(p.x(), p.y());
    }
    AfterEvent();
}

void CEditorViewWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = ToSurface(event->position());
    view.OnMouseMove(p.x(), p.y());
    if (view.WantsAutoScroll() && !autoScroll.isActive()) {
        autoScroll.start();
    }
    if (pointerMoved) {
        pointerMoved(p, true);
    }
    AfterEvent();
}

void CEditorViewWidget::ReportPointer() {
    const QPoint at = mapFromGlobal(QCursor::pos());
    if (pointerMoved && underMouse() && rect().contains(at)) {
        pointerMoved(ToSurface(at), true);
    }
}

void CEditorViewWidget::leaveEvent(QEvent* event) {
    if (pointerMoved) {
        pointerMoved(QPoint(), false);
    }
    QWidget::leaveEvent(event);
}

bool CEditorViewWidget::event(QEvent* event) {
    // Over the palette the tooltip names the entry under the pointer.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint p = ToSurface(help->pos());
        const int32_t w = SurfaceSize().width();
        const CIconPalette& palette = view.GetPalette();
        const int32_t index = p.x() >= palette.Left(w) ? palette.IndexAt(w, p.x(), p.y()) : -1;
        if (index >= 0 && index < palette.GetCount()) {
            QToolTip::showText(help->globalPos(), QtFromCp1252(palette.GetEntries()[index].name),
                               this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void CEditorViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = ToSurface(event->position());
    if (event->button() == Qt::LeftButton) {
        view.OnLeftUp(p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        view.OnRightUp(p.x(), p.y());
    }
    AfterEvent();
}

void CEditorViewWidget::wheelEvent(QWheelEvent* event) {
    // One notch scrolls like one key: the palette by a row (Page Up / Page Down) when the
    // pointer is over it, else the field like the arrow keys (Shift: sideways).
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) {
        event->ignore();
        return;
    }
    const QPoint p = ToSurface(event->position());
    const bool overPalette = p.x() >= view.GetPalette().Left(SurfaceSize().width());
    // Strg with the wheel zooms about the pointer.
    if ((event->modifiers() & Qt::ControlModifier) != 0 && !overPalette) {
        for (int i = 0; i < std::abs(steps); ++i) {
            const int32_t at = static_cast<int32_t>(
                std::find(std::begin(kZoomSteps), std::end(kZoomSteps), view.zoom) -
                std::begin(kZoomSteps));
            const int32_t next = steps > 0 ? at - 1 : at + 1;
            if (next >= 0 && next < static_cast<int32_t>(std::size(kZoomSteps))) {
                view.SetZoomAt(kZoomSteps[next], p.x(), p.y());
            }
        }
        event->accept();
        AfterEvent();
        return;
    }
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) != 0;
    for (int i = 0; i < std::abs(steps); ++i) {
        const bool back = steps > 0;
        if (overPalette) {
            view.OnKey(back ? EditorKey::PageUp : EditorKey::PageDown, false);
        } else if (sideways) {
            view.OnKey(back ? EditorKey::Left : EditorKey::Right, false);
        } else {
            view.OnKey(back ? EditorKey::Up : EditorKey::Down, false);
        }
    }
    event->accept();
    AfterEvent();
}

void CEditorViewWidget::keyPressEvent(QKeyEvent* event) {
    EditorKey key;
    switch (event->key()) {
    case Qt::Key_PageUp:
        key = EditorKey::PageUp;
        break;
    case Qt::Key_PageDown:
        key = EditorKey::PageDown;
        break;
    case Qt::Key_Home:
        key = EditorKey::Home;
        break;
    case Qt::Key_Left:
        key = EditorKey::Left;
        break;
    case Qt::Key_Right:
        key = EditorKey::Right;
        break;
    case Qt::Key_Up:
        key = EditorKey::Up;
        break;
    case Qt::Key_Down:
        key = EditorKey::Down;
        break;
    case Qt::Key_Escape:
        key = EditorKey::Escape;
        break;
    case Qt::Key_Delete:
        key = EditorKey::Delete;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    view.OnKey(key, (event->modifiers() & Qt::ControlModifier) != 0);
    AfterEvent();
}

void CEditorViewWidget::focusOutEvent(QFocusEvent* event) {
    // A modal dialog or another window took the mouse mid-drag: end the drag cleanly.
    if (view.HasMouseCapture() && QWidget::mouseGrabber() != this) {
        view.OnCaptureLost();
        AfterEvent();
    }
    QWidget::focusOutEvent(event);
}

} // namespace kx
