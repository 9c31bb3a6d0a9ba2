// CKrawlixEditorView: drawing the field and palette, the tools under the mouse, scrolling and the
// view commands.
#include "editor/EditorView.h"

#include <algorithm>
#include <cstring>

#include "editor/CellNames.h"
#include "storage/Error.h"

namespace kx {
namespace {

constexpr Colour kRed = 0xFF0000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kNoSheet = 0x404040;
constexpr uint8_t kOutsideGround = 127;
constexpr Colour kBlack = 0x000000;
constexpr Colour kSelectionColour = 0x00FFFF;
constexpr Colour kPasteColour = 0xFFA000;
constexpr Colour kCaptionColour = 0xFFFFFF;
constexpr int32_t kCaptionFont = 0;

CellRect Normalised(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    return {std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
}

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
    selection.reset();
    pasting = false;
    markX = -1;
    markY = -1;
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
    if (!doc.Contains(x, y)) {
        return OutsideCell();
    }
    // The block being pasted shows where it would land, cut to the field as it will be.
    const int64_t cx = static_cast<int64_t>(x) - pasteX;
    const int64_t cy = static_cast<int64_t>(y) - pasteY;
    if (pasting && cx >= 0 && cy >= 0 && cx < clipboard.width && cy < clipboard.height) {
        return clipboard.cells[static_cast<size_t>(cy * clipboard.width + cx)];
    }
    return doc.CellAt(x, y);
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
    const int32_t cellPx = CellPixels();
    const int32_t columns = (FieldAreaWidth() + cellPx - 1) / cellPx;
    const int32_t rows = (clientHeight + cellPx - 1) / cellPx;
    if (fontTable != nullptr) {
        cellScratch.SetFontTable(fontTable);
    }
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            const int32_t fx = scrollX + c;
            const int32_t fy = scrollY + r;
            if (cellPx == kViewCell) {
                DrawCell(surface, kViewCell * c, kViewCell * r, CellForDrawing(fx, fy), fx, fy);
            } else {
                DrawZoomedCell(surface, cellPx * c, cellPx * r, CellForDrawing(fx, fy), fx, fy);
            }
        }
    }
    if (dragging && tool == ToolSelect) {
        DrawCellFrame(surface, Normalised(x1, y1, x2, y2), kSelectionColour);
    } else if (selection) {
        DrawCellFrame(surface, *selection, kSelectionColour);
    }
    if (pasting) {
        DrawCellFrame(surface,
                      {pasteX, pasteY, pasteX + clipboard.width - 1, pasteY + clipboard.height - 1},
                      kPasteColour);
    }
    DrawLayerCaption(surface);
    if (markX >= 0) {
        // Two frames, red outside and white inside, so that the mark shows on any ground.
        // A shrunken cell is too small to hold them: there they lie around it, and the cell
        // stays visible inside.
        const int32_t px = cellPx * (markX - scrollX);
        const int32_t py = cellPx * (markY - scrollY);
        const int32_t in = cellPx == kViewCell ? 0 : -3;
        if (markX - scrollX < columns) {
            for (int32_t i = 0; i < 3; ++i) {
                const int32_t d = in + i;
                surface.DrawFrame(px + d, py + d, px + cellPx - 1 - d, py + cellPx - 1 - d,
                                  i < 2 ? kRed : kWhite);
            }
        }
    }
    palette.Draw(surface, clientWidth, clientHeight, *imgfull, *imgtrans);
}

void CKrawlixEditorView::ShowMarkedCell(int32_t x, int32_t y) {
    if (!doc.Contains(x, y)) {
        ClearMark();
        return;
    }
    markX = x;
    markY = y;
    // A cell in full view stays where it is; another comes to the middle, as far as the
    // field's edges let it, so that no empty space is shown where the field could be.
    auto place = [](int32_t scroll, int32_t at, int32_t page, int32_t size) {
        if (at >= scroll && at < scroll + page) {
            return scroll;
        }
        return std::clamp(at - page / 2, 0, std::max(size - page, 0));
    };
    ScrollTo(place(scrollX, x, FieldAreaWidth() / CellPixels(), doc.width),
             place(scrollY, y, clientHeight / CellPixels(), doc.height));
    Repaint();
}

void CKrawlixEditorView::ClearMark() {
    if (markX >= 0) {
        markX = -1;
        markY = -1;
        Repaint();
    }
}

void CKrawlixEditorView::DrawCell(CDrawDevice24& surface, int32_t px, int32_t py,
                                  const FieldCell& cell, int32_t fieldX, int32_t fieldY) const {
    const bool sw = switchLayer;
    const uint8_t ground = sw ? cell.swGround : cell.ground;
    const uint8_t* objects = sw ? cell.swObjects : cell.objects;
    const uint8_t item = sw ? cell.swItem : cell.item;
    const uint8_t flags = sw ? cell.swFlags : cell.flags;
    imgfull->DrawCell(surface, px, py, ground == kNothing ? kNoGroundIcon : ground);
    if (sw) {
        DrawNormalWallsFaintly(surface, px, py, cell);
    }
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
    if (dragging && (tool == ToolRectangle || tool == ToolFilledRectangle)) {
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

void CKrawlixEditorView::DrawZoomedCell(CDrawDevice24& surface, int32_t px, int32_t py,
                                        const FieldCell& cell, int32_t fieldX,
                                        int32_t fieldY) const {
    if (!cellScratch.Create(kViewCell, kViewCell)) {
        return;
    }
    DrawCell(cellScratch, 0, 0, cell, fieldX, fieldY);
    // Each screen pixel is the mean of the block of cell pixels it stands for.
    const int32_t size = CellPixels();
    const int32_t block = kViewCell / size;
    const int32_t area = block * block;
    for (int32_t y = 0; y < size; ++y) {
        if (py + y < 0 || py + y >= surface.GetHeight()) {
            continue;
        }
        for (int32_t x = 0; x < size; ++x) {
            if (px + x < 0 || px + x >= surface.GetWidth()) {
                continue;
            }
            int32_t sum[3] = {0, 0, 0};
            for (int32_t by = 0; by < block; ++by) {
                const uint8_t* from = cellScratch.PixelAddress(x * block, y * block + by);
                for (int32_t bx = 0; bx < block; ++bx, from += 3) {
                    sum[0] += from[0];
                    sum[1] += from[1];
                    sum[2] += from[2];
                }
            }
            uint8_t* to = surface.PixelAddress(px + x, py + y);
            for (int i = 0; i < 3; ++i) {
                to[i] = static_cast<uint8_t>(sum[i] / area);
            }
        }
    }
}

void CKrawlixEditorView::DrawNormalWallsFaintly(CDrawDevice24& surface, int32_t px, int32_t py,
                                                const FieldCell& cell) const {
    // Where the switch layer shows the same wall, nothing is missing.
    if (cell.ground >= 40 || cell.ground == cell.swGround ||
        !wallScratch.Create(kViewCell, kViewCell)) {
        return;
    }
    imgfull->DrawCell(wallScratch, 0, 0, cell.ground);
    for (int32_t y = 0; y < kViewCell; ++y) {
        if (py + y < 0 || py + y >= surface.GetHeight()) {
            continue;
        }
        for (int32_t x = 0; x < kViewCell; ++x) {
            if (px + x < 0 || px + x >= surface.GetWidth()) {
                continue;
            }
            const uint8_t* from = wallScratch.PixelAddress(x, y);
            uint8_t* to = surface.PixelAddress(px + x, py + y);
            for (int i = 0; i < 3; ++i) {
                to[i] = static_cast<uint8_t>(to[i] + (from[i] - to[i]) * 3 / 8);
            }
        }
    }
}

void CKrawlixEditorView::DrawCellFrame(CDrawDevice24& surface, const CellRect& r,
                                       Colour colour) const {
    const int64_t c = CellPixels();
    // Kept a little outside the surface, so far-off corners neither wrap nor show an edge.
    auto at = [](int64_t v, int32_t limit) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, -4, static_cast<int64_t>(limit) + 4));
    };
    const int32_t left = at((static_cast<int64_t>(r.x1) - scrollX) * c, FieldAreaWidth());
    const int32_t top = at((static_cast<int64_t>(r.y1) - scrollY) * c, clientHeight);
    const int32_t right = at((static_cast<int64_t>(r.x2) + 1 - scrollX) * c - 1, FieldAreaWidth());
    const int32_t bottom = at((static_cast<int64_t>(r.y2) + 1 - scrollY) * c - 1, clientHeight);
    surface.DrawFrame(left, top, right, bottom, kBlack);
    surface.DrawFrame(left + 1, top + 1, right - 1, bottom - 1, colour);
    surface.DrawFrame(left + 2, top + 2, right - 2, bottom - 2, colour);
    surface.DrawFrame(left + 3, top + 3, right - 3, bottom - 3, kBlack);
}

void CKrawlixEditorView::DrawLayerCaption(CDrawDevice24& surface) const {
    std::string text = switchLayer ? "Schalterebene" : "Normale Ebene";
    if (zoom != 100) {
        text += ", " + ZoomText(zoom) + " %";
    }
    surface.SetFont(kCaptionFont);
    const TextSize size = surface.MeasureText(text);
    const int32_t right = FieldAreaWidth() - 4;
    const int32_t x = right - size.width - 6;
    if (x < 4) {
        return;
    }
    surface.DarkenRect(x - 4, 2, right, 8 + size.height, 2);
    surface.DrawText(x, 4, text, kCaptionColour);
}

void CKrawlixEditorView::PaintAt(int32_t px, int32_t py) {
    if (px >= SeparatorLeft()) {
        return;
    }
    const PaletteEntry* entry = palette.GetSelectedEntry();
    const int32_t x = px / CellPixels() + scrollX;
    const int32_t y = py / CellPixels() + scrollY;
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
        const int32_t x = px / CellPixels() + scrollX;
        const int32_t y = py / CellPixels() + scrollY;
        if (pasting) {
            // Placed where the pointer is; a press beside the field places nothing.
            if (doc.Contains(x, y)) {
                PasteAt(x, y);
            }
            return;
        }
        if (tool == ToolPaint) {
            dragging = true;
            doc.BeginGesture();
            PaintAt(px, py);
            return;
        }
        if (tool == ToolFlood) {
            const PaletteEntry* entry = palette.GetSelectedEntry();
            if (entry != nullptr && doc.FloodFill(x, y, *entry, EditedLayer())) {
                Repaint();
            }
            return;
        }
        if (tool == ToolSelect && doc.Contains(x, y)) {
            x1 = x2 = x;
            y1 = y2 = y;
            dragging = true;
            Repaint();
            return;
        }
        if (tool != ToolSelect && doc.Contains(x, y) && palette.GetSelectedEntry() != nullptr) {
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

void CKrawlixEditorView::StretchTo(int32_t px, int32_t py) {
    x2 = std::clamp(px / CellPixels() + scrollX, 0, doc.width - 1);
    y2 = std::clamp(py / CellPixels() + scrollY, 0, doc.height - 1);
    Repaint();
}

void CKrawlixEditorView::OnMouseMove(int32_t px, int32_t py) {
    lastPointerX = px;
    lastPointerY = py;
    if (pasting && !dragging && px >= 0 && py >= 0 && px < SeparatorLeft()) {
        const int32_t x = px / CellPixels() + scrollX;
        const int32_t y = py / CellPixels() + scrollY;
        if (x != pasteX || y != pasteY) {
            pasteX = x;
            pasteY = y;
            Repaint();
        }
    }
    if (dragging) {
        if (tool == ToolPaint) {
            PaintAt(px, py);
        } else {
            StretchTo(px, py);
        }
    }
    if (rightDrag == RightDragMode::Field) {
        // In 64 bits: a pointer far outside the window must not overflow the difference.
        const int32_t cellPx = CellPixels();
        auto target = [cellPx](int32_t scroll, int32_t start, int32_t now) {
            const int64_t v = scroll + (static_cast<int64_t>(start) - now) / cellPx;
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
        if (apply) {
            doc.EndGesture();
        } else {
            doc.CancelGesture();
        }
    } else if (tool == ToolSelect) {
        if (apply) {
            selection = Normalised(x1, y1, x2, y2);
        }
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
    // What was painted so far stays: the mouse was taken, the author did not take it back.
    if (dragging && tool == ToolPaint) {
        EndLeftDrag(true);
    }
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
    const int32_t columns = VisibleColumns();
    const int32_t rows = VisibleRows();
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
    // (W - 37) / 32 at 100 %: the client less a cell and the five pixels of the separator.
    const int32_t ck = ClampViewCount((clientWidth - 5) / CellPixels() - 1);
    const int32_t rk = VisibleRows();
    // One step back or forth on a scroll coordinate, then kept within half a view of the field.
    auto step = [ctrl](int32_t& scroll, int32_t size, int32_t visible, int32_t direction) {
        const bool room = direction < 0 ? scroll > -size : scroll < size;
        if (room) {
            scroll += direction * (ctrl ? 1 : std::max(1, visible / 4));
        }
        scroll = std::clamp(scroll, -(visible / 2), std::max(-(visible / 2), size - visible / 2));
    };
    switch (key) {
    case EditorKey::Escape:
        CancelDrag();
        return;
    case EditorKey::Delete:
        DeleteSelection();
        return;
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
    if (dragging || newTool < ToolPaint || newTool > ToolFlood) {
        return false;
    }
    tool = newTool;
    pasting = false;
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

namespace kx {

bool CKrawlixEditorView::WantsAutoScroll() const {
    return IsRectangleDrag() && (lastPointerX < 0 || lastPointerX >= FieldAreaWidth() ||
                                 lastPointerY < 0 || lastPointerY >= clientHeight);
}

bool CKrawlixEditorView::AutoScrollStep() {
    if (!WantsAutoScroll()) {
        return false;
    }
    const int32_t areaWidth = FieldAreaWidth();
    const int32_t dx = lastPointerX < 0 ? -1 : lastPointerX >= areaWidth ? 1 : 0;
    const int32_t dy = lastPointerY < 0 ? -1 : lastPointerY >= clientHeight ? 1 : 0;
    const int32_t oldX = scrollX, oldY = scrollY, oldX2 = x2, oldY2 = y2;
    ScrollTo(scrollX + dx, scrollY + dy);
    // The corner follows to the edge cell in view, as if the pointer stood there.
    StretchTo(std::clamp(lastPointerX, 0, std::max(areaWidth - 1, 0)),
              std::clamp(lastPointerY, 0, std::max(clientHeight - 1, 0)));
    return scrollX != oldX || scrollY != oldY || x2 != oldX2 || y2 != oldY2;
}

std::string ZoomText(double percent) {
    const auto whole = static_cast<int32_t>(percent);
    const auto tenths = static_cast<int32_t>((percent - whole) * 10 + 0.5);
    return tenths == 0 ? FormatString("%d", whole) : FormatString("%d,%d", whole, tenths);
}

bool CKrawlixEditorView::SetZoomAt(double percent, int32_t px, int32_t py) {
    if (std::find(std::begin(kZoomSteps), std::end(kZoomSteps), percent) == std::end(kZoomSteps) ||
        percent == zoom) {
        return false;
    }
    const int32_t oldCell = CellPixels();
    const auto newCell = static_cast<int32_t>(kViewCell * percent / 100);
    px = std::clamp(px, 0, std::max(FieldAreaWidth() - 1, 0));
    py = std::clamp(py, 0, std::max(clientHeight - 1, 0));
    // The cell under the pointer stays under it.
    const int64_t a = static_cast<int64_t>(scrollX) + px / oldCell - px / newCell;
    const int64_t b = static_cast<int64_t>(scrollY) + py / oldCell - py / newCell;
    // Within the scroll bars' range at the new zoom (which holds the old scroll): zooming out
    // of a field that fits shows no empty space before it.
    zoom = percent;
    const ScrollRange h = HorizontalRange();
    const ScrollRange v = VerticalRange();
    scrollX = static_cast<int32_t>(std::clamp<int64_t>(a, h.minimum, h.maximum));
    scrollY = static_cast<int32_t>(std::clamp<int64_t>(b, v.minimum, v.maximum));
    // A field that now fits whole is shown whole, from its first column or row.
    if (doc.width <= VisibleColumns()) {
        scrollX = 0;
    }
    if (doc.height <= VisibleRows()) {
        scrollY = 0;
    }
    Repaint();
    return true;
}

bool CKrawlixEditorView::SetZoom(double percent) {
    return SetZoomAt(percent, FieldAreaWidth() / 2, clientHeight / 2);
}

bool CKrawlixEditorView::ZoomIn() {
    for (int32_t i = 1; i < static_cast<int32_t>(std::size(kZoomSteps)); ++i) {
        if (kZoomSteps[i] == zoom) {
            return SetZoom(kZoomSteps[i - 1]);
        }
    }
    return false;
}

bool CKrawlixEditorView::ZoomOut() {
    for (int32_t i = 0; i + 1 < static_cast<int32_t>(std::size(kZoomSteps)); ++i) {
        if (kZoomSteps[i] == zoom) {
            return SetZoom(kZoomSteps[i + 1]);
        }
    }
    return false;
}

bool CKrawlixEditorView::CellAtPixel(int32_t px, int32_t py, int32_t& x, int32_t& y) const {
    if (px < 0 || py < 0 || px >= SeparatorLeft() || py >= clientHeight) {
        return false;
    }
    x = px / CellPixels() + scrollX;
    y = py / CellPixels() + scrollY;
    return true;
}

int32_t CKrawlixEditorView::VisibleColumns() const {
    return ClampViewCount((FieldAreaWidth() + CellPixels() - 1) / CellPixels());
}

int32_t CKrawlixEditorView::VisibleRows() const {
    return ClampViewCount((clientHeight + CellPixels() - 1) / CellPixels());
}

ScrollRange CKrawlixEditorView::HorizontalRange() const {
    const int32_t page = VisibleColumns();
    return {std::min(scrollX, 0), std::max({scrollX, doc.width - page, 0}), page};
}

ScrollRange CKrawlixEditorView::VerticalRange() const {
    const int32_t page = VisibleRows();
    return {std::min(scrollY, 0), std::max({scrollY, doc.height - page, 0}), page};
}

void CKrawlixEditorView::SetSelection(std::optional<CellRect> rect) {
    if (rect) {
        rect = Normalised(rect->x1, rect->y1, rect->x2, rect->y2);
    }
    selection = rect;
    Repaint();
}

bool CKrawlixEditorView::Copy() {
    if (dragging || !selection) {
        return false;
    }
    FieldClip clip = doc.CopyRegion(selection->x1, selection->y1, selection->x2, selection->y2);
    if (clip.Empty()) {
        return false;
    }
    clipboard = std::move(clip);
    return true;
}

bool CKrawlixEditorView::Cut() {
    if (!Copy()) {
        return false;
    }
    doc.ClearRegion(selection->x1, selection->y1, selection->x2, selection->y2);
    Repaint();
    return true;
}

bool CKrawlixEditorView::DeleteSelection() {
    if (dragging || !selection) {
        return false;
    }
    const bool changed =
        doc.ClearRegion(selection->x1, selection->y1, selection->x2, selection->y2);
    Repaint();
    return changed;
}

bool CKrawlixEditorView::BeginPaste() {
    if (dragging || clipboard.Empty()) {
        return false;
    }
    int32_t x = scrollX;
    int32_t y = scrollY;
    if (CellAtPixel(lastPointerX, lastPointerY, x, y)) {
        pasteX = x;
        pasteY = y;
    } else {
        pasteX = scrollX;
        pasteY = scrollY;
    }
    pasting = true;
    Repaint();
    return true;
}

bool CKrawlixEditorView::PasteAt(int32_t x, int32_t y) {
    if (dragging || clipboard.Empty() || !doc.Contains(x, y)) {
        return false;
    }
    pasting = false;
    Repaint();
    const bool changed = doc.PasteClip(clipboard, x, y);
    selection = CellRect{x, y,
                         static_cast<int32_t>(std::min<int64_t>(
                             static_cast<int64_t>(x) + clipboard.width - 1, doc.width - 1)),
                         static_cast<int32_t>(std::min<int64_t>(
                             static_cast<int64_t>(y) + clipboard.height - 1, doc.height - 1))};
    return changed;
}

bool CKrawlixEditorView::PickAt(int32_t x, int32_t y) {
    if (!doc.Contains(x, y)) {
        return false;
    }
    const PickVisibility shown{showObjects, showItems, showCreatures, showSwitches};
    const int32_t index =
        PickPaletteIndex(palette.GetEntries(), doc.CellAt(x, y), EditedLayer(), shown);
    if (index < 0) {
        return false;
    }
    palette.SetSelected(index);
    // The picked icon comes into view, on the palette's top row.
    const int32_t w = palette.GetWidth();
    const int32_t shownCount = w * ((clientHeight + kPaletteIcon - 1) / kPaletteIcon);
    if (index < palette.GetFirst() || index >= palette.GetFirst() + shownCount) {
        palette.SetFirst(index - index % w);
    }
    Repaint();
    return true;
}

void CKrawlixEditorView::OnPick(int32_t px, int32_t py) {
    int32_t x = 0;
    int32_t y = 0;
    if (!dragging && CellAtPixel(px, py, x, y)) {
        PickAt(x, y);
    }
}

bool CKrawlixEditorView::CancelDrag() {
    if (dragging) {
        EndLeftDrag(false);
        return true;
    }
    if (pasting) {
        pasting = false;
        Repaint();
        return true;
    }
    if (selection) {
        selection.reset();
        Repaint();
        return true;
    }
    return false;
}

} // namespace kx
