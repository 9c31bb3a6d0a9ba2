// The editor's view widget with scroll bars beside and below it.
#pragma once

#include <QWidget>

#include <functional>

#include "editor/EditorView.h"

class QScrollBar;

namespace kx {

class CEditorViewWidget;

class CViewPane : public QWidget {
    Q_OBJECT
public:
    CViewPane(CKrawlixEditorView& view, QWidget* parent = nullptr);

    CEditorViewWidget* View() const { return viewWidget; }
    QScrollBar* HorizontalBar() const { return horizontal; }
    QScrollBar* VerticalBar() const { return vertical; }
    // The bars follow the view's scroll, zoom and field size.
    void Sync();
    // Called after a bar scrolled the view.
    void SetScrolledCallback(std::function<void()> callback) { scrolled = std::move(callback); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnBarMoved();

    CKrawlixEditorView& view;
    CEditorViewWidget* viewWidget = nullptr;
    QScrollBar* horizontal = nullptr;
    QScrollBar* vertical = nullptr;
    std::function<void()> scrolled;
};

} // namespace kx
