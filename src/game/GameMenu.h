// CGameMenu, the one in-game menu: items, selection, scrolling, layout, drawing and clicks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"

namespace kx {

struct MenuEntry {
    int32_t id;
    const char* text; // UTF-8 in the source; the menu holds it as Windows-1252
};

struct MenuItem {
    int32_t id = 0;
    std::string text;  // Windows-1252
    SurfaceRect hit{}; // inclusive; empty until the item is drawn
    bool hasHit = false;
    std::string detail{}; // drawn after the text in a dimmer colour (Windows-1252)
    bool marked = false;  // a corn kernel before the text: a level won before
};

inline constexpr int32_t kMenuMaxRows = 15;
inline constexpr int32_t kMenuFont = 3;

// The menu is open exactly while it has items; closing removes them and keeps the rest.
class CGameMenu {
public:
    CGameMenu() { items.reserve(64); }

    // Sets the caption and copies of the items; selection and scroll position start at 0.
    void Open(const std::string& caption, std::vector<MenuItem> newItems);
    void Close() { items.clear(); }
    bool IsOpen() const { return !items.empty(); }

    void SelectPrevious();
    void SelectNext();
    // Selects an item and scrolls so that it stands in the middle where the list allows.
    void Select(int32_t index);
    // A page of rows up or down, stopping at the first and last item; Home and End.
    void SelectPageUp();
    void SelectPageDown();
    void SelectFirst() { Select(0); }
    void SelectLast() { Select(static_cast<int32_t>(items.size()) - 1); }
    // A line under the caption (the result of a won level); empty: none.
    void SetNote(const std::string& text);
    const std::string& GetNote() const { return note; }
    // The command of the selected item, when the selection is valid and its id above 0.
    std::optional<int32_t> SelectedCommand() const;
    // Selects the first item drawn at (x, y) in the last paint; false when none is there.
    bool Click(int32_t x, int32_t y);
    void SetItemText(int32_t id, const std::string& text);
    void RemoveItems(int32_t id);

    // Draws the menu centred on the surface (nothing when closed); the arrows come from the
    // transparent sprite sheet.
    void Draw(CDrawDevice24& surface, const IImageList24& transparent);

    const std::string& GetCaption() const { return caption; }
    const std::vector<MenuItem>& GetItems() const { return items; }
    int32_t GetSelection() const { return selection; }
    int32_t GetFirst() const { return first; }
    int32_t GetRows() const { return rows; }
    int32_t GetWidth() const { return width; }
    int32_t GetHeight() const { return height; }

private:
    void Normalise();
    void Layout(CDrawDevice24& surface);

    std::vector<MenuItem> items;
    int32_t selection = 0;
    int32_t first = 0;
    int32_t rows = 0;
    std::string caption;
    std::string note;
    bool needsLayout = false;
    int32_t width = 0;
    int32_t height = 0;
};

} // namespace kx
