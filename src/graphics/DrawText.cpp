// CDrawDevice24's text state and the drawing of bitmap-font characters.
#include <algorithm>
#include <bit>
#include <limits>

#include "DrawDevice24.h"
#include "FontTable.h"

namespace kx {
namespace {

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The inked box of a glyph limited to its 32 x 32 cell: columns c0..c1-1, rows r0..r1-1.
struct CellBox {
    int64_t c0, c1, r0, r1;
    bool IsEmpty() const { return c0 >= c1 || r0 >= r1; }
};

CellBox ClippedBox(const Glyph& g) {
    CellBox box;
    box.c0 = std::max<int64_t>(g.left, 0);
    box.c1 = std::min<int64_t>(static_cast<int64_t>(g.left) + g.width, kGlyphCell);
    box.r0 = std::max<int64_t>(g.top, 0);
    box.r1 = std::min<int64_t>(static_cast<int64_t>(g.top) + g.height, kGlyphCell);
    return box;
}

} // namespace

void CDrawDevice24::SetFont(int32_t slot) {
    SetFontData(fontTable != nullptr ? fontTable->GetFont(slot) : nullptr);
}

void CDrawDevice24::SetFontData(FontData font) {
    currentFont = font && font->size() == kFontBlockSize ? std::move(font) : nullptr;
    SetProportional(proportional);
}

void CDrawDevice24::SetProportional(bool flag) {
    proportional = flag;
    if (!currentFont) {
        fixedAdvance = 1;
        return;
    }
    const int64_t w = FontNominalWidth(*currentFont);
    fixedAdvance = Saturate(proportional ? w / 3 + 1 : w + 1);
}

TextSize CDrawDevice24::MeasureText(std::string_view text) const {
    if (!currentFont) {
        return {};
    }
    int64_t totalWidth = 0;
    int64_t maxHeight = 0;
    for (char c : text) {
        const Glyph g = FontGlyph(*currentFont, static_cast<uint8_t>(c));
        totalWidth +=
            proportional && g.width != 0 ? static_cast<int64_t>(g.width) + 1 : fixedAdvance;
        // Ink below the cell is never drawn, so it does not count either.
        const int64_t bottom =
            std::min<int64_t>(static_cast<int64_t>(g.top) + g.height, kGlyphCell);
        maxHeight = std::max(maxHeight, bottom);
    }
    return {Saturate(totalWidth), Saturate(maxHeight)};
}

void CDrawDevice24::DrawChar(uint8_t code, bool notify) {
    if (!currentFont) {
        return;
    }
    const Glyph g = FontGlyph(*currentFont, code);
    const int64_t x = textX;
    const int64_t y = textY;
    int64_t originX = x;
    if (proportional) {
        textX = Saturate(x + (g.width != 0 ? static_cast<int64_t>(g.width) + 1 : fixedAdvance));
    } else {
        textX = Saturate(x + fixedAdvance);
        originX = x + (static_cast<int64_t>(fixedAdvance) - g.width) / 2;
    }
    if (g.width < 1 || g.height < 1 || pixels.empty() || originX >= clip.right ||
        y >= clip.bottom) {
        return;
    }
    const CellBox box = ClippedBox(g);
    if (box.IsEmpty()) {
        return;
    }
    // The box on the surface, clipped on all four sides.
    const int64_t left = std::max<int64_t>(originX + box.c0, clip.left);
    const int64_t right = std::min<int64_t>(originX + box.c1, clip.right);
    const int64_t top = std::max<int64_t>(y + box.r0, clip.top);
    const int64_t bottom = std::min<int64_t>(y + box.r1, clip.bottom);
    if (left >= right || top >= bottom) {
        return;
    }
    const SurfaceRect area{static_cast<int32_t>(left), static_cast<int32_t>(top),
                           static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    if (LogInstead({DrawCall::Glyph, area, Saturate(originX), Saturate(y), code, textColour,
                    currentFont.get()})) {
        return;
    }
    // In locals: the pixel stores could otherwise alias the members.
    const auto blue = static_cast<uint8_t>(textColour);
    const auto green = static_cast<uint8_t>(textColour >> 8);
    const auto red = static_cast<uint8_t>(textColour >> 16);
    for (int64_t sy = top; sy < bottom; ++sy) {
        const uint32_t bits = g.Row(static_cast<int32_t>(sy - y));
        if (bits == 0) {
            continue;
        }
        // Only the inked columns are visited: the set bits of the clipped part of the row.
        const auto first = static_cast<uint32_t>(left - originX);
        const auto count = static_cast<uint32_t>(right - left);
        uint32_t ink = bits >> first;
        if (count < 32) {
            ink &= (1u << count) - 1;
        }
        uint8_t* row = PixelAddress(static_cast<int32_t>(left), static_cast<int32_t>(sy));
        for (; ink != 0; ink &= ink - 1) {
            uint8_t* p = row + 3 * std::countr_zero(ink);
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
    if (notify) {
        OnAreaChanged(area);
    }
}

void CDrawDevice24::DrawString(std::string_view text, bool notify) {
    for (char c : text) {
        DrawChar(static_cast<uint8_t>(c), notify);
    }
}

void CDrawDevice24::DrawText(int32_t x, int32_t y, std::string_view text, Colour colour,
                             bool notify) {
    SetTextCursor(x, y);
    textColour = colour;
    DrawString(text, notify);
}

} // namespace kx
