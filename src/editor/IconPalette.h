// CIconPalette, the strip of palette icons at the view's right edge: layout, drawing, selection,
// scrolling, width.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/PaletteEntry.h"
#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"

namespace kx {

inline constexpr int32_t kPaletteIcon = 32;
inline constexpr int32_t kPaletteSeparator = 4;
inline constexpr int32_t kDefaultPaletteWidth = 3;
inline constexpr int32_t kMaxPaletteWidth = 8;
// Rows scrolled by the commands "Icons hochscrollen" / "Icons runterscrollen" and by the
// keys Page Up / Page Down.
inline constexpr int32_t kPaletteCommandRows = 4;
inline constexpr int32_t kPaletteKeyRows = 1;
inline constexpr uint8_t kNothingIcon = 255;

// A number centred on (cx, cy) in font 1, outlined in black: switch numbers on icons and cells.
void DrawOutlinedNumber(CDrawDevice24& surface, int32_t cx, int32_t cy, int32_t number,
                        Colour colour);

class CIconPalette {
public:
    // Builds the table; width 3, first 0, nothing selected.
    CIconPalette();

    const std::vector<PaletteEntry>& GetEntries() const { return entries; }
    int32_t GetCount() const { return static_cast<int32_t>(entries.size()); }

    // A width from the profile outside 1..8 is clamped into it (0 columns would leave no
    // palette to click and scroll).
    int32_t GetWidth() const { return width; }
    void SetWidth(int32_t columns);
    int32_t GetFirst() const { return first; }
    void SetFirst(int32_t index) { first = index; }
    int32_t GetSelected() const { return selected; }
    void SetSelected(int32_t index) { selected = index; }
    // The selected entry, or null when none (-1 or out of range): then no tool acts.
    const PaletteEntry* GetSelectedEntry() const;

    // ---- layout, for client width W ----
    // The palette's left edge d = W - 32 w; the separator covers d-4 .. d-1.
    int32_t Left(int32_t clientWidth) const;
    // The entry index shown at client pixel (px, py) with px >= Left, without range check.
    int32_t IndexAt(int32_t clientWidth, int32_t px, int32_t py) const;

    // ---- drawing ----
    // The separator and every icon for a client of W x H, then the selected entry's
    // description over the field area.
    void Draw(CDrawDevice24& surface, int32_t clientWidth, int32_t clientHeight,
              const IImageList24& imgfull, const IImageList24& imgtrans) const;
    // One icon with its top-left corner at (x, y): tile, overlay, switch number, "X",
    // selection frames. Indexes at or past the count draw the empty tile.
    void DrawIcon(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index,
                  const IImageList24& imgfull, const IImageList24& imgtrans) const;
    void DrawDescription(CDrawDevice24& surface, int32_t clientHeight) const;

    // ---- input; each returns whether the palette changed (the view repaints) ----
    // Left press at (px, py): selects the entry under it when there is one.
    bool OnLeftDown(int32_t clientWidth, int32_t px, int32_t py);
    bool ScrollDown(int32_t rows);
    bool ScrollUp(int32_t rows);
    // Right-button drag: the press remembers the point and the first index.
    void BeginDrag(int32_t px, int32_t py);
    bool DragTo(int32_t px, int32_t py);

    // ---- the width items "Icon-Auswahl Breite 1" .. "Icon-Auswahl Breite 8" ----
    // The width an item sets: its number, except that item 6 sets 7 and item 7 sets 6.
    static int32_t WidthForItem(int32_t item);
    // Sets the item's width; false when it equals the present width (nothing to store).
    // On true the front end writes GetWidth() to "View"/"Bar Icon Width".
    bool ChooseWidthItem(int32_t item);
    // Whether the item carries a check mark.
    bool IsWidthItemChecked(int32_t item) const { return WidthForItem(item) == width; }

private:
    std::vector<PaletteEntry> entries;
    int32_t width = kDefaultPaletteWidth;
    int32_t first = 0;
    int32_t selected = -1;
    int32_t dragStartX = 0;
    int32_t dragStartY = 0;
    int32_t dragStartFirst = 0;
};

} // namespace kx
