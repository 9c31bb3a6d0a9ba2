// The widget that shows the editor's view: forwards mouse, wheel and keys, copies the frame 1:1.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "editor/EditorView.h"
#include "graphics/DrawDevice24.h"

namespace kx {

class CEditorViewWidget : public QWidget {
    Q_OBJECT
public:
    CEditorViewWidget(CKrawlixEditorView& view, QWidget* parent = nullptr);

    // Whole device pixels per surface pixel: the integer part of the screen's pixel ratio
    // (at least 1), so no surface pixel is smoothed or split.
    int PixelScale() const;
    // The view's client size in surface pixels for the widget's present size.
    QSize SurfaceSize() const;
    // The last frame as shown (for tests and the screenshot).
    QImage GrabFrame();
    // Repaints when the view asked for it; every event handler ends here.
    void SyncWithView();
    // Called after every forwarded event that may have changed the document or the view.
    void SetChangedCallback(std::function<void()> callback) { changed = std::move(callback); }
    // Told where the pointer is, in surface pixels, whenever it moves over the widget;
    // inside is false when it left.
    void SetPointerCallback(std::function<void(QPoint surface, bool inside)> callback) {
        pointerMoved = std::move(callback);
    }
    // Tells the pointer callback again where the pointer stands, after the view under it
    // changed without a move (a zoom by key or menu).
    void ReportPointer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    QPoint ToSurface(const QPointF& logical) const;
    void RenderFrame();
    void AfterEvent();
    void OnAutoScroll();

    CKrawlixEditorView& view;
    CDrawDevice24 surface;
    QImage frame;
    std::function<void()> changed;
    std::function<void(QPoint, bool)> pointerMoved;
    // While a rectangle is dragged past the edge, the view scrolls on by itself.
    QTimer autoScroll;
};

} // namespace kx
