// Text drawing on the preview canvas and its PNG output through libpng.
#include "Preview.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

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
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width_ * zoom),
                 static_cast<png_uint_32>(height_ * zoom), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(static_cast<size_t>(width_) * zoom * 3);
    for (int y = 0; y < height_ * zoom; ++y) {
        const uint8_t* src = &rgb_[static_cast<size_t>(y / zoom) * width_ * 3];
        for (size_t x = 0; x < static_cast<size_t>(width_) * zoom; ++x)
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = src[(x / zoom) * 3 + c];
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
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
