// A small RGB canvas that draws .dxfont text the way the game does, and writes it as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DxFont.h"

namespace kxfont {

class CCanvas {
public:
    CCanvas(int width, int height, uint32_t background);

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetPixel(int x, int y, uint32_t colour);
    void FillRect(int x0, int y0, int x1, int y1, uint32_t colour);
    // zoom > 1 enlarges each pixel to a zoom x zoom block, for close review.
    bool WritePng(const std::string& path, int zoom = 1) const;

private:
    int width_;
    int height_;
    std::vector<uint8_t> rgb_;
};

// Draws Windows-1252 text with its cell's top-left at (x, y); returns the x after the text.
// Proportional: each glyph advances width + 1, an empty one W / 3 + 1; fixed: every glyph
// advances W + 1 and is centred in that pitch.
int DrawText(CCanvas& canvas, const DxFont& font, int x, int y, std::string_view text,
             uint32_t colour, bool proportional = true);

// The distance DrawText moves for the text.
int TextWidth(const DxFont& font, std::string_view text, bool proportional = true);

} // namespace kxfont
