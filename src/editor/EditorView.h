// CKrawlixEditorView, the editor's view as a model: scrolling, tools, toggles, mouse and key
// handling, and its frame on a CDrawDevice24.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/EditorDoc.h"
#include "editor/IconPalette.h"
#include "field/GameField.h"
#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "graphics/ImageList24.h"

namespace kx {

enum EditTool : int32_t {
    ToolPaint = 0,           // "Malen"
    ToolRectangle = 1,       // "Rechteck"
    ToolFilledRectangle = 2, // "Rechteck füllen"
    ToolSelect = 3,          // "Auswählen": a rectangle to copy, cut or clear
    ToolFlood = 4,           // "Füllen": connected equal cells
};

// The zoom steps in percent, largest first; a cell is 32, 16, 8 or 4 pixels. At 12.5 % a
// 200 x 200 field (800 pixels square) fits a window on a 1280 x 1024 screen.
inline constexpr double kZoomSteps[] = {100, 50, 25, 12.5};
// "100", "12,5": a step as the German texts write it.
std::string ZoomText(double percent);

enum class RightDragMode : int32_t { None = 0, Field = 1, Palette = 2 };

// The keys the view takes; everything else is the front end's.
enum class EditorKey { PageUp, PageDown, Home, Left, Right, Up, Down, Escape, Delete };

// A rectangle of field cells, corners included, x1 <= x2 and y1 <= y2.
struct CellRect {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const CellRect&) const = default;
};

// A scroll bar's values for one axis, in cells: the scroll may run from minimum to maximum,
// page cells are in view.
struct ScrollRange {
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t page = 1;
};

inline constexpr int32_t kViewCell = 32;
// "imgfull" icon of a cell without ground, and of the positions outside the field.
inline constexpr int32_t kNoGroundIcon = 126;
inline constexpr int32_t kOutsideIcon = 127;
// "imgtrans" markers: blocked for worms, blocked for ghosts, rectangle being drawn.
inline constexpr int32_t kNoWormsMarker = 248;
inline constexpr int32_t kNoGhostsMarker = 249;
inline constexpr int32_t kRectangleMarker = 251;

// Pixel coordinates are client pixels; every handler that changes what is shown asks for
// a repaint (TakeRepaintRequest). The view borrows the document, the sheets and the fonts.
class CKrawlixEditorView {
public:
    explicit CKrawlixEditorView(CKrawlixEditorDoc& doc);
    CKrawlixEditorView(const CKrawlixEditorView&) = delete;
    CKrawlixEditorView& operator=(const CKrawlixEditorView&) = delete;

    // The sprite sheets "imgfull" and "imgtrans"; without them cells are not drawn.
    void SetSprites(const IImageList24* imgfull, const IImageList24* imgtrans);
    // The fonts for switch numbers and the description; null: the surface's own table.
    void SetFontTable(CFontTable* fonts) { fontTable = fonts; }
    // The client area's size; set it whenever the window changes size.
    void SetClientSize(int32_t width, int32_t height);
    int32_t GetClientWidth() const { return clientWidth; }
    int32_t GetClientHeight() const { return clientHeight; }

    // After each New and Open: scroll (0, 0), no drag, tool "Malen", normal layer, the four
    // show toggles on; show blocking and the palette keep their state.
    void OnInitialUpdate();

    // ---- drawing ----
    // Sizes the surface to the client area and draws the field, separator, palette and the
    // selected entry's description.
    void Draw(CDrawDevice24& surface) const;
    // The cell shown at field position (x, y): the field's, or the outside cell.
    FieldCell CellForDrawing(int32_t x, int32_t y) const;
    static FieldCell OutsideCell();
    void DrawCell(CDrawDevice24& surface, int32_t px, int32_t py, const FieldCell& cell,
                  int32_t fieldX, int32_t fieldY) const;

    // ---- mouse and keys ----
    void OnLeftDown(int32_t px, int32_t py);
    void OnMouseMove(int32_t px, int32_t py);
    void OnLeftUp(int32_t px, int32_t py);
    void OnRightDown(int32_t px, int32_t py);
    void OnRightUp(int32_t px, int32_t py);
    // The mouse was taken away mid-drag (capture lost): ends any drag like a release that
    // applies nothing more.
    void OnCaptureLost();
    void OnKey(EditorKey key, bool ctrl);
    // Whether the view holds the mouse (a left drag or a right drag).
    bool HasMouseCapture() const { return dragging || rightDrag != RightDragMode::None; }
    // A rectangle or selection drag whose pointer lies past the field area's edge: the front
    // end calls AutoScrollStep on a timer while this holds.
    bool WantsAutoScroll() const;
    // Scrolls one cell toward the pointer and stretches the rectangle; false when nothing moved.
    bool AutoScrollStep();

    // ---- zoom ----
    // The width and height of a field cell on screen: 32 at 100 %.
    int32_t CellPixels() const { return static_cast<int32_t>(kViewCell * zoom / 100); }
    // One of kZoomSteps; the cell under (px, py) stays under it. False for other values or
    // when the zoom is already that.
    bool SetZoomAt(double percent, int32_t px, int32_t py);
    // About the middle of the field area.
    bool SetZoom(double percent);
    bool ZoomIn();
    bool ZoomOut();

    // ---- where the pointer is ----
    // The field position under client pixel (px, py); false over the separator and palette
    // (the position may lie outside the field).
    bool CellAtPixel(int32_t px, int32_t py, int32_t& x, int32_t& y) const;
    // Field columns and rows the view shows, and the scroll bars' ranges.
    int32_t VisibleColumns() const;
    int32_t VisibleRows() const;
    ScrollRange HorizontalRange() const;
    ScrollRange VerticalRange() const;

    // ---- selection, clipboard, pick (each changing call is one undo step) ----
    const std::optional<CellRect>& GetSelection() const { return selection; }
    void SetSelection(std::optional<CellRect> rect);
    // The selection's cells into the clipboard; false without a selection in the field.
    bool Copy();
    // Copy, then the selection's cells emptied.
    bool Cut();
    // Empties the selection's cells ("Entf").
    bool DeleteSelection();
    // The clipboard's block follows the pointer (its top-left cell under it) until a left
    // press places it; false with an empty clipboard.
    bool BeginPaste();
    bool IsPasting() const { return pasting; }
    // Places the clipboard with its top-left cell at field cell (x, y), cut to the field; the
    // placed cells become the selection. False when no cell changed.
    bool PasteAt(int32_t x, int32_t y);
    const FieldClip& GetClipboard() const { return clipboard; }
    void SetClipboard(FieldClip clip) { clipboard = std::move(clip); }
    // Selects the palette entry of the topmost shown element of field cell (x, y) and scrolls
    // the palette to it; false outside the field or when no entry places it.
    bool PickAt(int32_t x, int32_t y);
    // Middle click, or Alt with the left button: pick at the pixel.
    void OnPick(int32_t px, int32_t py);
    // Esc: a drag ends with nothing applied (a paint stroke is taken back), else a paste in
    // progress stops, else the selection goes. False when there was none of these.
    bool CancelDrag();

    // ---- commands ----
    void ToggleSwitchLayer();   // "Schalterebene anzeigen" F4
    void ToggleShowObjects();   // "Objekte anzeigen" F5
    void ToggleShowItems();     // "Gegenstände anzeigen" F6
    void ToggleShowCreatures(); // "Lebewesen anzeigen" F7
    void ToggleShowSwitches();  // "Schalter anzeigen" F8
    void ToggleShowBlocking();  // "Blockierungen anzeigen" F9
    // "Malen", "Rechteck", "Rechteck füllen", "Auswählen", "Füllen"; refused (false) while
    // dragging. A paste in progress stops.
    bool SetTool(int32_t newTool);
    bool CanChangeTool() const { return !dragging; }
    void MergeLegoBlocks(); // "Lego-Blöcke zusammenfassen" on the edited layer
    // The resize dialog's OK (the dialog opens with GetDocument().width / height).
    void ResizeField(int32_t width, int32_t height, std::string_view style, int32_t corner);
    void PaletteScrollUp();   // "Icons hochscrollen"
    void PaletteScrollDown(); // "Icons runterscrollen"
    // "Icon-Auswahl Breite N"; true when the width changed and should be stored.
    bool ChooseWidthItem(int32_t item);
    // Undo and redo of the document, refused while a drag is open; the Can* answers
    // enable the menu items.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return !dragging && doc.CanUndo(); }
    bool CanRedo() const { return !dragging && doc.CanRedo(); }
    // Scrolls by dragging to (a, b), clamped so a column and a row of the field stay.
    void ScrollTo(int32_t a, int32_t b);
    // A cell the level check named: scrolled into the middle of the field's part of the
    // window and framed until the next New, Open or ClearMark. Outside the field: only the
    // mark goes.
    void ShowMarkedCell(int32_t x, int32_t y);
    void ClearMark();
    bool HasMark() const { return markX >= 0; }

    // ---- state ----
    CKrawlixEditorDoc& GetDocument() { return doc; }
    const CKrawlixEditorDoc& GetDocument() const { return doc; }
    CIconPalette& GetPalette() { return palette; }
    const CIconPalette& GetPalette() const { return palette; }
    FieldLayer EditedLayer() const { return switchLayer ? FieldLayer::Switch : FieldLayer::Normal; }
    // True once since the last call when something asked for a repaint.
    bool TakeRepaintRequest();

    int32_t scrollX = 0;
    int32_t scrollY = 0;
    int32_t tool = ToolPaint;
    bool dragging = false;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0; // rectangle corners in field cells
    RightDragMode rightDrag = RightDragMode::None;
    bool switchLayer = false;
    bool showObjects = true;
    bool showItems = true;
    bool showCreatures = true;
    bool showSwitches = true;
    bool showBlocking = false;
    double zoom = 100;
    // The clipboard block's top-left cell while a paste follows the pointer.
    int32_t pasteX = 0, pasteY = 0;
    int32_t markX = -1; // the marked cell, -1 for none
    int32_t markY = -1;

private:
    int32_t SeparatorLeft() const; // s = W - 32 w - 4
    void PaintAt(int32_t px, int32_t py);
    void EndLeftDrag(bool apply);
    void Repaint() { repaintRequested = true; }
    int32_t FieldAreaWidth() const { return std::max(SeparatorLeft(), 0); }
    // The cell drawn at 32 pixels into the scratch surface, then shrunk to the zoom.
    void DrawZoomedCell(CDrawDevice24& surface, int32_t px, int32_t py, const FieldCell& cell,
                        int32_t fieldX, int32_t fieldY) const;
    void DrawNormalWallsFaintly(CDrawDevice24& surface, int32_t px, int32_t py,
                                const FieldCell& cell) const;
    void DrawCellFrame(CDrawDevice24& surface, const CellRect& r, Colour colour) const;
    void DrawLayerCaption(CDrawDevice24& surface) const;
    bool IsRectangleDrag() const { return dragging && tool != ToolPaint && tool != ToolFlood; }
    void StretchTo(int32_t px, int32_t py);

    CKrawlixEditorDoc& doc;
    CIconPalette palette;
    const IImageList24* imgfull = nullptr;
    const IImageList24* imgtrans = nullptr;
    CFontTable* fontTable = nullptr;
    int32_t clientWidth = 800;
    int32_t clientHeight = 600;
    int32_t rightStartX = 0;
    int32_t rightStartY = 0;
    int32_t rightStartScrollX = 0;
    int32_t rightStartScrollY = 0;
    bool repaintRequested = true;
    std::optional<CellRect> selection;
    FieldClip clipboard;
    bool pasting = false;
    int32_t lastPointerX = 0;
    int32_t lastPointerY = 0;
    mutable CDrawDevice24 cellScratch;
    mutable CDrawDevice24 wallScratch;
};

} // namespace kx
