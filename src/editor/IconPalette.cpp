// CIconPalette: the icon strip's layout, drawing, selection, scrolling and width.
#include "editor/IconPalette.h"

#include <algorithm>
#include <string>

namespace kx {
namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = 0xFF0000;
constexpr Colour kMissingIcon = 0xFF00FF;
constexpr Colour kDescriptionColour = 0xFFFF00;
constexpr int32_t kEmptyTileIcon = 127;
constexpr int32_t kNumberFont = 1;      // "Arial10b.dxfont"
constexpr int32_t kRemoveFont = 3;      // "Arial20b.dxfont"
constexpr int32_t kDescriptionFont = 0; // "Arial10.dxfont"

void DrawCentred(CDrawDevice24& surface, int32_t cx, int32_t cy, const std::string& text,
                 Colour colour) {
    const TextSize size = surface.MeasureText(text);
    surface.DrawText(cx - size.width / 2, cy - size.height / 2, text, colour);
}

} // namespace

void DrawOutlinedNumber(CDrawDevice24& surface, int32_t cx, int32_t cy, int32_t number,
                        Colour colour) {
    surface.SetFont(kNumberFont);
    const std::string text = std::to_string(number);
    static constexpr int32_t kShadow[5][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {2, 2}};
    for (const auto& d : kShadow) {
        DrawCentred(surface, cx + d[0], cy + d[1], text, kBlack);
    }
    DrawCentred(surface, cx, cy, text, colour);
}

CIconPalette::CIconPalette() : entries(BuildPalette()) {}

void CIconPalette::SetWidth(int32_t columns) {
    width = std::clamp(columns, 1, kMaxPaletteWidth);
}

const PaletteEntry* CIconPalette::GetSelectedEntry() const {
    if (selected < 0 || selected >= GetCount()) {
        return nullptr;
    }
    return &entries[static_cast<size_t>(selected)];
}

int32_t CIconPalette::Left(int32_t clientWidth) const {
    return clientWidth - kPaletteIcon * width;
}

int32_t CIconPalette::IndexAt(int32_t clientWidth, int32_t px, int32_t py) const {
    return width * (py / kPaletteIcon) + (px - Left(clientWidth)) / kPaletteIcon + first;
}

void CIconPalette::Draw(CDrawDevice24& surface, int32_t clientWidth, int32_t clientHeight,
                        const IImageList24& imgfull, const IImageList24& imgtrans) const {
    const int32_t d = Left(clientWidth);
    static constexpr Colour kSeparator[kPaletteSeparator] = {0xE0E0E0, 0xC0C0C0, 0xC0C0C0,
                                                             0x606060};
    for (int32_t i = 0; i < kPaletteSeparator; ++i) {
        surface.SetLineColour(kSeparator[i]);
        surface.DrawVLine(d - kPaletteSeparator + i, 0, clientHeight);
    }
    const int32_t rows = (clientHeight + kPaletteIcon - 1) / kPaletteIcon;
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t k = 0; k < width; ++k) {
            DrawIcon(surface, d + kPaletteIcon * k, kPaletteIcon * r, first + r * width + k,
                     imgfull, imgtrans);
        }
    }
    DrawDescription(surface, clientHeight);
}

void CIconPalette::DrawIcon(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index,
                            const IImageList24& imgfull, const IImageList24& imgtrans) const {
    if (index < 0 || index >= GetCount()) {
        imgfull.DrawCell(surface, x, y, kEmptyTileIcon);
        return;
    }
    const PaletteEntry& e = entries[static_cast<size_t>(index)];
    if (e.backgroundIcon == kNothingIcon) {
        surface.FillRect(x, y, x + kPaletteIcon - 1, y + kPaletteIcon - 1, kMissingIcon);
    } else {
        imgfull.DrawCell(surface, x, y, e.backgroundIcon);
    }
    if (e.overlayIcon != kNothingIcon) {
        imgtrans.DrawCell(surface, x, y, e.overlayIcon);
    }
    const int32_t cx = x + kPaletteIcon / 2;
    const int32_t cy = y + kPaletteIcon / 2;
    if (e.kind == KindSwitch && e.code != kNothingIcon) {
        DrawOutlinedNumber(surface, cx, cy, e.code, (e.orMask & 1) != 0 ? kRed : kWhite);
    }
    if (e.code == kNothingIcon) {
        surface.SetFont(kRemoveFont);
        static constexpr int32_t kShadow[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        for (const auto& dxy : kShadow) {
            DrawCentred(surface, cx + dxy[0], cy + dxy[1], "X", kBlack);
        }
        DrawCentred(surface, cx, cy, "X", kRed);
    }
    if (index == selected) {
        surface.DrawFrame(x, y, x + 31, y + 31, kWhite);
        surface.DrawFrame(x + 1, y + 1, x + 30, y + 30, kBlack);
        surface.DrawFrame(x + 2, y + 2, x + 29, y + 29, kWhite);
    }
}

void CIconPalette::DrawDescription(CDrawDevice24& surface, int32_t clientHeight) const {
    const PaletteEntry* e = GetSelectedEntry();
    if (e == nullptr) {
        return;
    }
    surface.SetFont(kDescriptionFont);
    const TextSize size = surface.MeasureText(e->name);
    surface.DarkenRect(2, clientHeight - 22, size.width + 14, clientHeight - 16 + size.height, 2);
    surface.DrawText(6, clientHeight - 20, e->name, kDescriptionColour);
}

bool CIconPalette::OnLeftDown(int32_t clientWidth, int32_t px, int32_t py) {
    if (px < Left(clientWidth)) {
        return false;
    }
    const int32_t i = IndexAt(clientWidth, px, py);
    if (i < 0 || i >= GetCount()) {
        return false;
    }
    selected = i;
    return true;
}

bool CIconPalette::ScrollDown(int32_t rows) {
    first += rows * width;
    // The palette may scroll until no entry shows.
    if (first >= GetCount()) {
        first = GetCount();
    }
    return true;
}

bool CIconPalette::ScrollUp(int32_t rows) {
    if (first <= 0) {
        return false;
    }
    first = std::max(0, first - rows * width);
    return true;
}

void CIconPalette::BeginDrag(int32_t px, int32_t py) {
    dragStartX = px;
    dragStartY = py;
    dragStartFirst = first;
}

bool CIconPalette::DragTo(int32_t px, int32_t py) {
    const int64_t moved = dragStartFirst +
                          (static_cast<int64_t>(dragStartY) - py) * width / kPaletteIcon +
                          (static_cast<int64_t>(dragStartX) - px) / kPaletteIcon;
    const int32_t now = static_cast<int32_t>(std::clamp<int64_t>(moved, 0, GetCount() - 1));
    if (now == first) {
        return false;
    }
    first = now;
    return true;
}

int32_t CIconPalette::WidthForItem(int32_t item) {
    // The items "Breite 6" and "Breite 7" set each other's number.
    if (item == 6) {
        return 7;
    }
    if (item == 7) {
        return 6;
    }
    return item;
}

bool CIconPalette::ChooseWidthItem(int32_t item) {
    if (item < 1 || item > kMaxPaletteWidth) {
        return false;
    }
    const int32_t v = WidthForItem(item);
    if (v == width) {
        return false;
    }
    width = v;
    return true;
}

} // namespace kx
