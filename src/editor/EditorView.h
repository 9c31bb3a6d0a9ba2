// CKrawlixEditorView, the editor's view as a model: scrolling, tools, toggles, mouse and key
// handling, and its frame on a CDrawDevice24.
#pragma once

#include <cstdint>
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
};

enum class RightDragMode : int32_t { None = 0, Field = 1, Palette = 2 };

// The keys the view takes; everything else is the front end's.
enum class EditorKey { PageUp, PageDown, Home, Left, Right, Up, Down };

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

    // ---- commands ----
    void ToggleSwitchLayer();   // "Schalterebene anzeigen" F4
    void ToggleShowObjects();   // "Objekte anzeigen" F5
    void ToggleShowItems();     // "Gegenstände anzeigen" F6
    void ToggleShowCreatures(); // "Lebewesen anzeigen" F7
    void ToggleShowSwitches();  // "Schalter anzeigen" F8
    void ToggleShowBlocking();  // "Blockierungen anzeigen" F9
    // "Malen", "Rechteck", "Rechteck füllen"; refused (false) while dragging.
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

private:
    int32_t SeparatorLeft() const; // s = W - 32 w - 4
    void PaintAt(int32_t px, int32_t py);
    void EndLeftDrag(bool apply);
    void Repaint() { repaintRequested = true; }

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
};

} // namespace kx
