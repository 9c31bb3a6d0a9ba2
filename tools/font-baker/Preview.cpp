// Text drawing on the preview canvas and its PNG output through the graphics library.
#include "Preview.h"

#include <vector>

#include "graphics/Bitmap24.h"
#include "graphics/PngFile.h"

namespace kxfont {

CCanvas::CCanvas(int width, int height, uint32_t background)
    : width_(width), height_(height), rgb_(static_cast<size_t>(width) * height * 3) {
    FillRect(0, 0, width, height, background);
}

void CCanvas::SetPixel(int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
}

void CCanvas::FillRect(int x0, int y0, int x1, int y1, uint32_t colour) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            SetPixel(x, y, colour);
}

bool CCanvas::WritePng(const std::string& path, int zoom) const {
    zoom = zoom < 1 ? 1 : zoom;
    kx::CBitmap24 bitmap;
    if (!bitmap.CreateBitmap(width_ * zoom, height_ * zoom, 0))
        return false;
    for (int y = 0; y < height_ * zoom; ++y) {
        const uint8_t* src = &rgb_[static_cast<size_t>(y / zoom) * width_ * 3];
        uint8_t* row = bitmap.RowFromTop(y);
        for (int x = 0; x < width_ * zoom; ++x) {
            const uint8_t* p = src + static_cast<size_t>(x / zoom) * 3;
            row[3 * x] = p[2]; // the canvas holds RGB, the bitmap BGR
            row[3 * x + 1] = p[1];
            row[3 * x + 2] = p[0];
        }
    }
    return kx::WritePngFile(path, bitmap);
}

int TextWidth(const DxFont& font, std::string_view text, bool proportional) {
    int fixedAdvance = proportional ? font.nominalWidth / 3 + 1 : font.nominalWidth + 1;
    int width = 0;
    for (char ch : text) {
        const Glyph& g = font.GlyphOf(static_cast<uint8_t>(ch));
        width += proportional && g.width > 0 ? g.width + 1 : fixedAdvance;
    }
    return width;
}

int DrawText(CCanvas& canvas, const DxFont& font, int x, int y, std::string_view text,
             uint32_t colour, bool proportional) {
    int fixedAdvance = proportional ? font.nominalWidth / 3 + 1 : font.nominalWidth + 1;
    for (char ch : text) {
        const Glyph& g = font.GlyphOf(static_cast<uint8_t>(ch));
        int origin = x;
        if (proportional) {
            x += g.width > 0 ? g.width + 1 : fixedAdvance;
        } else {
            origin = x + (fixedAdvance - g.width) / 2;
            x += fixedAdvance;
        }
        for (int r = 0; r < kCellSize; ++r)
            for (int j = 0; j < kCellSize; ++j)
                if (g.rows[r] & (1u << j))
                    canvas.SetPixel(origin + j, y + r, colour);
    }
    return x;
}

} // namespace kxfont
