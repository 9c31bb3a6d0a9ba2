// CKrawlixEditorView: drawing the field and palette, the tools under the mouse, scrolling and the
// view commands.
#include "editor/EditorView.h"

#include <algorithm>
#include <cstring>

namespace kx {
namespace {

constexpr Colour kRed = 0xFF0000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kNoSheet = 0x404040;
constexpr uint8_t kOutsideGround = 127;

int32_t ClampViewCount(int32_t n) {
    return std::clamp(n, 1, 1000);
}

bool Between(int32_t v, int32_t a, int32_t b) {
    return v >= std::min(a, b) && v <= std::max(a, b);
}

} // namespace

CKrawlixEditorView::CKrawlixEditorView(CKrawlixEditorDoc& doc) : doc(doc) {}

void CKrawlixEditorView::SetSprites(const IImageList24* full, const IImageList24* trans) {
    imgfull = full;
    imgtrans = trans;
    Repaint();
}

void CKrawlixEditorView::SetClientSize(int32_t width, int32_t height) {
    clientWidth = std::max(width, 0);
    clientHeight = std::max(height, 0);
    Repaint();
}

void CKrawlixEditorView::OnInitialUpdate() {
    if (dragging && tool == ToolPaint) {
        doc.EndGesture();
    }
    scrollX = 0;
    scrollY = 0;
    dragging = false;
    rightDrag = RightDragMode::None;
    tool = ToolPaint;
    switchLayer = false;
    showObjects = true;
    showItems = true;
    showCreatures = true;
    showSwitches = true;
    Repaint();
}

int32_t CKrawlixEditorView::SeparatorLeft() const {
    return palette.Left(clientWidth) - kPaletteSeparator;
}

FieldCell CKrawlixEditorView::OutsideCell() {
    FieldCell c;
    std::memset(&c, kNothing, sizeof c);
    c.ground = kOutsideGround;
    c.swGround = kOutsideGround;
    c.flags = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
    c.swFlags = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
    return c;
}

FieldCell CKrawlixEditorView::CellForDrawing(int32_t x, int32_t y) const {
    return doc.Contains(x, y) ? doc.CellAt(x, y) : OutsideCell();
}

void CKrawlixEditorView::Draw(CDrawDevice24& surface) const {
    if (!surface.Create(clientWidth, clientHeight)) {
        return;
    }
    if (fontTable != nullptr) {
        surface.SetFontTable(fontTable);
    }
    if (imgfull == nullptr || imgtrans == nullptr) {
        surface.Clear(kNoSheet);
        return;
    }
    const int32_t columns = (clientWidth - kViewCell * palette.GetWidth() + 27) / kViewCell;
    const int32_t rows = (clientHeight + kViewCell - 1) / kViewCell;
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t fx = scrollX + c;
            const int32_t fy = scrollY + r;
            DrawCell(surface, kViewCell * c, kViewCell * r, CellForDrawing(fx, fy), fx, fy);
        }
    }
    palette.Draw(surface, clientWidth, clientHeight, *imgfull, *imgtrans);
}

void CKrawlixEditorView::DrawCell(CDrawDevice24& surface, int32_t px, int32_t py,
                                  const FieldCell& cell, int32_t fieldX, int32_t fieldY) const {
    const bool sw = switchLayer;
    const uint8_t ground = sw ? cell.swGround : cell.ground;
    const uint8_t* objects = sw ? cell.swObjects : cell.objects;
    const uint8_t item = sw ? cell.swItem : cell.item;
    const uint8_t flags = sw ? cell.swFlags : cell.flags;
    imgfull->DrawCell(surface, px, py, ground == kNothing ? kNoGroundIcon : ground);
    if (showObjects) {
        for (int i = 0; i < kObjectSlots; ++i) {
            if (objects[i] != kNothing) {
                imgtrans->DrawCell(surface, px, py, objects[i]);
            }
        }
    }
    if (showItems && item != kNothing) {
        imgtrans->DrawCell(surface, px, py, (item + 128) % 256);
    }
    if (!sw && showCreatures && cell.creature != kNothing) {
        imgtrans->DrawCell(surface, px, py, (cell.creature + 144) % 256);
    }
    if (showBlocking) {
        if ((flags & FLAG_NO_WORMS) != 0) {
            imgtrans->DrawCell(surface, px, py, kNoWormsMarker);
        }
        if ((flags & FLAG_NO_GHOSTS) != 0) {
            imgtrans->DrawCell(surface, px, py, kNoGhostsMarker);
        }
    }
    if (showSwitches && cell.switchNo != kNothing) {
        DrawOutlinedNumber(surface, px + kViewCell / 2, py + kViewCell / 2, cell.switchNo,
                           (flags & FLAG_SWITCH) != 0 ? kRed : kWhite);
    }
    if (dragging && tool != ToolPaint) {
        const bool inColumns = Between(fieldX, x1, x2);
        const bool inRows = Between(fieldY, y1, y2);
        const bool marked = tool == ToolFilledRectangle
                                ? inColumns && inRows
                                : (inColumns && (fieldY == y1 || fieldY == y2)) ||
                                      (inRows && (fieldX == x1 || fieldX == x2));
        if (marked) {
            imgtrans->DrawCell(surface, px, py, kRectangleMarker);
        }
    }
}

void CKrawlixEditorView::PaintAt(int32_t px, int32_t py) {
    if (px >= SeparatorLeft()) {
        return;
    }
    const PaletteEntry* entry = palette.GetSelectedEntry();
    const int32_t x = px / kViewCell + scrollX;
    const int32_t y = py / kViewCell + scrollY;
    if (entry == nullptr || !doc.Contains(x, y)) {
        return;
    }
    if (doc.ApplyEntry(x, y, *entry, EditedLayer())) {
        Repaint();
    }
}

void CKrawlixEditorView::OnLeftDown(int32_t px, int32_t py) {
    const int32_t s = SeparatorLeft();
    if (px < s) {
        if (dragging) {
            return;
        }
        if (tool == ToolPaint) {
            dragging = true;
            doc.BeginGesture();
            PaintAt(px, py);
            return;
        }
        const int32_t x = px / kViewCell + scrollX;
        const int32_t y = py / kViewCell + scrollY;
        if (doc.Contains(x, y) && palette.GetSelectedEntry() != nullptr) {
            x1 = x2 = x;
            y1 = y2 = y;
            dragging = true;
            Repaint();
        }
        return;
    }
    if (px >= s + kPaletteSeparator && palette.OnLeftDown(clientWidth, px, py)) {
        Repaint();
    }
}

void CKrawlixEditorView::OnMouseMove(int32_t px, int32_t py) {
    if (dragging) {
        if (tool == ToolPaint) {
            PaintAt(px, py);
        } else {
            x2 = std::clamp(px / kViewCell + scrollX, 0, doc.width - 1);
            y2 = std::clamp(py / kViewCell + scrollY, 0, doc.height - 1);
            Repaint();
        }
    }
    if (rightDrag == RightDragMode::Field) {
        // In 64 bits: a pointer far outside the window must not overflow the difference.
        auto target = [](int32_t scroll, int32_t start, int32_t now) {
            const int64_t v = scroll + (static_cast<int64_t>(start) - now) / kViewCell;
            return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        };
        ScrollTo(target(rightStartScrollX, rightStartX, px),
                 target(rightStartScrollY, rightStartY, py));
    } else if (rightDrag == RightDragMode::Palette && palette.DragTo(px, py)) {
        Repaint();
    }
}

void CKrawlixEditorView::EndLeftDrag(bool apply) {
    if (!dragging) {
        return;
    }
    if (tool == ToolPaint) {
        doc.EndGesture();
    } else if (apply) {
        if (const PaletteEntry* entry = palette.GetSelectedEntry()) {
            doc.ApplyRectangle(x1, y1, x2, y2, *entry, EditedLayer(), tool == ToolFilledRectangle);
        }
    }
    dragging = false;
    Repaint();
}

void CKrawlixEditorView::OnLeftUp(int32_t, int32_t) {
    EndLeftDrag(true);
}

void CKrawlixEditorView::OnCaptureLost() {
    EndLeftDrag(false);
    rightDrag = RightDragMode::None;
}

void CKrawlixEditorView::OnRightDown(int32_t px, int32_t py) {
    const int32_t s = SeparatorLeft();
    if (px < s) {
        rightDrag = RightDragMode::Field;
        rightStartX = px;
        rightStartY = py;
        rightStartScrollX = scrollX;
        rightStartScrollY = scrollY;
    } else if (px >= s + kPaletteSeparator) {
        rightDrag = RightDragMode::Palette;
        palette.BeginDrag(px, py);
    }
}

void CKrawlixEditorView::OnRightUp(int32_t, int32_t) {
    rightDrag = RightDragMode::None;
}

void CKrawlixEditorView::ScrollTo(int32_t a, int32_t b) {
    const int32_t columns =
        ClampViewCount((clientWidth - kViewCell * palette.GetWidth() + 27) / kViewCell);
    const int32_t rows = ClampViewCount((clientHeight + kViewCell - 1) / kViewCell);
    a = std::clamp(a, 1 - columns, std::max(1 - columns, doc.width - 1));
    b = std::clamp(b, 1 - rows, std::max(1 - rows, doc.height - 1));
    if (a == scrollX && b == scrollY) {
        return;
    }
    scrollX = a;
    scrollY = b;
    Repaint();
}

void CKrawlixEditorView::OnKey(EditorKey key, bool ctrl) {
    const int32_t ck = ClampViewCount((clientWidth - 37) / kViewCell);
    const int32_t rk = ClampViewCount((clientHeight + kViewCell - 1) / kViewCell);
    // One step back or forth on a scroll coordinate, then kept within half a view of the field.
    auto step = [ctrl](int32_t& scroll, int32_t size, int32_t visible, int32_t direction) {
        const bool room = direction < 0 ? scroll > -size : scroll < size;
        if (room) {
            scroll += direction * (ctrl ? 1 : std::max(1, visible / 4));
        }
        scroll = std::clamp(scroll, -(visible / 2), std::max(-(visible / 2), size - visible / 2));
    };
    switch (key) {
    case EditorKey::PageDown:
        if (palette.ScrollDown(kPaletteKeyRows)) {
            Repaint();
        }
        return;
    case EditorKey::PageUp:
        if (palette.ScrollUp(kPaletteKeyRows)) {
            Repaint();
        }
        return;
    case EditorKey::Home:
        if (scrollX != 0 || scrollY != 0) {
            scrollX = 0;
            scrollY = 0;
            Repaint();
        }
        return;
    case EditorKey::Left:
        step(scrollX, doc.width, ck, -1);
        break;
    case EditorKey::Right:
        step(scrollX, doc.width, ck, 1);
        break;
    case EditorKey::Up:
        step(scrollY, doc.height, rk, -1);
        break;
    case EditorKey::Down:
        step(scrollY, doc.height, rk, 1);
        break;
    }
    Repaint();
}

void CKrawlixEditorView::ToggleSwitchLayer() {
    switchLayer = !switchLayer;
    Repaint();
}
void CKrawlixEditorView::ToggleShowObjects() {
    showObjects = !showObjects;
    Repaint();
}
void CKrawlixEditorView::ToggleShowItems() {
    showItems = !showItems;
    Repaint();
}
void CKrawlixEditorView::ToggleShowCreatures() {
    showCreatures = !showCreatures;
    Repaint();
}
void CKrawlixEditorView::ToggleShowSwitches() {
    showSwitches = !showSwitches;
    Repaint();
}
void CKrawlixEditorView::ToggleShowBlocking() {
    showBlocking = !showBlocking;
    Repaint();
}

bool CKrawlixEditorView::SetTool(int32_t newTool) {
    if (dragging || newTool < ToolPaint || newTool > ToolFilledRectangle) {
        return false;
    }
    tool = newTool;
    Repaint();
    return true;
}

void CKrawlixEditorView::MergeLegoBlocks() {
    doc.MergeLegoBlocks(EditedLayer());
    Repaint();
}

void CKrawlixEditorView::ResizeField(int32_t width, int32_t height, std::string_view style,
                                     int32_t corner) {
    doc.ResizeField(width, height, style, corner);
    Repaint();
}

void CKrawlixEditorView::PaletteScrollUp() {
    if (palette.ScrollUp(kPaletteCommandRows)) {
        Repaint();
    }
}

void CKrawlixEditorView::PaletteScrollDown() {
    if (palette.ScrollDown(kPaletteCommandRows)) {
        Repaint();
    }
}

bool CKrawlixEditorView::ChooseWidthItem(int32_t item) {
    if (!palette.ChooseWidthItem(item)) {
        return false;
    }
    Repaint();
    return true;
}

bool CKrawlixEditorView::Undo() {
    if (dragging || !doc.Undo()) {
        return false;
    }
    Repaint();
    return true;
}

bool CKrawlixEditorView::Redo() {
    if (dragging || !doc.Redo()) {
        return false;
    }
    Repaint();
    return true;
}

bool CKrawlixEditorView::TakeRepaintRequest() {
    const bool requested = repaintRequested;
    repaintRequested = false;
    return requested;
}

} // namespace kx
