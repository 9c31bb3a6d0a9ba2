// CGameMenu: selection with wrapping and scrolling, the layout, the drawing and the hit test.
#include "GameMenu.h"

#include <algorithm>

namespace kx {

namespace {

// Text widths beyond any screen are held here, so that the box arithmetic cannot overflow.
constexpr int32_t kMaxTextWidth = 1 << 24;

int32_t TextWidth(CDrawDevice24& surface, const std::string& text) {
    return std::min(surface.MeasureText(text).width, kMaxTextWidth);
}

constexpr int32_t kNoteFont = 1;     // bold sans, smaller than the items
constexpr int32_t kNoteHeight = 24;  // the note's line between the caption and the items
constexpr int32_t kDetailGap = 16;   // between an item's text and its detail
constexpr int32_t kMarkSprite = 253; // a corn cob of the transparent sheet
constexpr int32_t kMarkWidth = 26;   // the cob and its gap before the text

// An item's text, its detail and its mark, as wide as they are drawn.
int32_t ItemWidth(CDrawDevice24& surface, const MenuItem& item) {
    int32_t w = TextWidth(surface, item.text);
    if (!item.detail.empty())
        w += kDetailGap + TextWidth(surface, item.detail);
    if (item.marked)
        w += kMarkWidth;
    return std::min(w, kMaxTextWidth);
}

} // namespace

void CGameMenu::Open(const std::string& newCaption, std::vector<MenuItem> newItems) {
    caption = newCaption;
    note.clear();
    items = std::move(newItems);
    for (MenuItem& item : items)
        item.hasHit = false;
    needsLayout = true;
    selection = 0;
    first = 0;
    // Known before the first paint, so that a key pressed before it scrolls correctly.
    rows = std::min<int32_t>(static_cast<int32_t>(items.size()), kMenuMaxRows);
}

void CGameMenu::Normalise() {
    auto count = static_cast<int32_t>(items.size());
    if (count == 0)
        return;
    if (selection < 0)
        selection = count - 1;
    if (selection >= count)
        selection = 0;
    if (rows > count) {
        first = 0;
        rows = count;
        return;
    }
    if (selection < first)
        first = selection;
    if (selection >= first + rows)
        first = selection - rows + 1;
}

void CGameMenu::SelectPrevious() {
    --selection;
    Normalise();
}

void CGameMenu::SelectNext() {
    ++selection;
    Normalise();
}

void CGameMenu::Select(int32_t index) {
    auto count = static_cast<int32_t>(items.size());
    if (count == 0)
        return;
    selection = std::clamp(index, 0, count - 1);
    rows = std::min(count, kMenuMaxRows);
    first = std::clamp(selection - rows / 2, 0, count - rows);
}

void CGameMenu::SelectPageUp() {
    if (!items.empty()) {
        selection = std::max(0, selection - std::max(rows, 1));
        Normalise();
    }
}

void CGameMenu::SelectPageDown() {
    if (!items.empty()) {
        selection = std::min(static_cast<int32_t>(items.size()) - 1, selection + std::max(rows, 1));
        Normalise();
    }
}

void CGameMenu::SetNote(const std::string& text) {
    note = text;
    needsLayout = true;
}

std::optional<int32_t> CGameMenu::SelectedCommand() const {
    if (selection < 0 || selection >= static_cast<int32_t>(items.size()))
        return std::nullopt;
    int32_t id = items[static_cast<size_t>(selection)].id;
    if (id <= 0)
        return std::nullopt;
    return id;
}

bool CGameMenu::Click(int32_t x, int32_t y) {
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        if (item.hasHit && x >= item.hit.left && x <= item.hit.right && y >= item.hit.top &&
            y <= item.hit.bottom) {
            selection = static_cast<int32_t>(i);
            return true;
        }
    }
    return false;
}

void CGameMenu::SetItemText(int32_t id, const std::string& text) {
    for (MenuItem& item : items) {
        if (item.id == id)
            item.text = text;
    }
}

void CGameMenu::RemoveItems(int32_t id) {
    std::erase_if(items, [id](const MenuItem& item) { return item.id == id; });
}

void CGameMenu::Layout(CDrawDevice24& surface) {
    rows = std::min<int32_t>(static_cast<int32_t>(items.size()), kMenuMaxRows);
    surface.SetFont(kMenuFont);
    int32_t widest = caption.empty() ? 0 : TextWidth(surface, caption);
    for (const MenuItem& item : items)
        widest = std::max(widest, ItemWidth(surface, item));
    if (!note.empty()) {
        surface.SetFont(kNoteFont);
        widest = std::max(widest, TextWidth(surface, note));
        surface.SetFont(kMenuFont);
    }
    width = widest + 64;
    height = (rows + 2) * 32 + (note.empty() ? 0 : kNoteHeight);
    needsLayout = false;
}

void CGameMenu::Draw(CDrawDevice24& surface, const IImageList24& transparent) {
    if (!IsOpen())
        return;
    if (needsLayout)
        Layout(surface);
    // Only what this paint shows can be clicked.
    for (MenuItem& item : items)
        item.hasHit = false;
    surface.SetFont(kMenuFont);
    int32_t cx = surface.GetWidth() / 2;
    int32_t left = cx - width / 2;
    int32_t top = (surface.GetHeight() - height) / 2;
    SurfaceRect box{left, top, left + width - 1, top + height - 1};
    surface.DarkenRect(box, 2);
    surface.DrawFrame(box, 0xC0C0C0);
    surface.DrawFrame(box.left - 1, box.top - 1, box.right + 1, box.bottom + 1, 0x000000);

    if (!caption.empty()) {
        int32_t w = TextWidth(surface, caption);
        surface.DrawText(cx - w / 2, top + 16, caption, 0xFF8040);
    }
    const int32_t noteHeight = note.empty() ? 0 : kNoteHeight;
    if (!note.empty()) {
        surface.SetFont(kNoteFont);
        int32_t w = TextWidth(surface, note);
        surface.DrawText(cx - w / 2, top + 50, note, 0xE0E0E0);
        surface.SetFont(kMenuFont);
    }
    auto count = static_cast<int32_t>(items.size());
    for (int32_t r = 0; r < rows; ++r) {
        int32_t i = first + r;
        if (i < 0 || i >= count)
            break;
        MenuItem& item = items[static_cast<size_t>(i)];
        TextSize size = surface.MeasureText(item.text);
        size.width = ItemWidth(surface, item);
        int32_t y = top + 54 + noteHeight + 32 * r;
        int32_t x = cx - size.width / 2;
        item.hit = {x - 8, y - 4, x + size.width + 8, y + size.height + 4};
        item.hasHit = true;
        Colour textColour = 0xC0C000;
        if (i == selection) {
            SurfaceRect r1 = item.hit;
            surface.FillRect(r1, 0x004000);
            for (Colour frame : {Colour{0x00A000}, Colour{0x00FF00}, Colour{0x00A000}}) {
                r1 = {r1.left - 1, r1.top - 1, r1.right + 1, r1.bottom + 1};
                surface.DrawFrame(r1, frame);
            }
            textColour = 0xFFFF00;
        }
        int32_t textX = x;
        if (item.marked) {
            transparent.DrawCell(surface, x - 6, y + size.height / 2 - 22, kMarkSprite);
            textX += kMarkWidth;
        }
        surface.DrawText(textX, y, item.text, textColour);
        if (!item.detail.empty())
            surface.DrawText(textX + TextWidth(surface, item.text) + kDetailGap, y, item.detail,
                             i == selection ? 0xC0C0C0 : 0x909090);
    }
    if (first > 0)
        transparent.DrawCell(surface, cx + width / 2 - 28, top + 32 + noteHeight, 230);
    if (first + rows < count)
        transparent.DrawCell(surface, cx + width / 2 - 28, top + (rows + 1) * 32 + noteHeight, 231);
}

} // namespace kx
