// Writing the sheets: the BMP files the game reads and PNG previews for reviewing the art.
#include "Sheet.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace sp {

CCanvas CSheet::Cell(int index) const {
    CCanvas cell(CELL, CELL);
    int ox = (index % 16) * CELL, oy = (index / 16) * CELL;
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x)
            cell.Set(x, y, canvas.Get(ox + x, oy + y));
    return cell;
}

namespace {

void Put16(std::vector<unsigned char>& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<unsigned char>& b, unsigned v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool WriteBmp(const CCanvas& c, const std::string& path) {
    const unsigned w = c.Width(), h = c.Height();
    const unsigned stride = (w * 3 + 3) & ~3u;
    std::vector<unsigned char> b;
    b.reserve(54 + stride * h);
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + stride * h);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, w);
    Put32(b, h); // positive height: bottom-up rows
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0); // BI_RGB
    Put32(b, stride * h);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        for (unsigned x = 0; x < w; ++x) {
            Colour col = c.Get(static_cast<int>(x), y);
            b.push_back(Blue(col));
            b.push_back(Green(col));
            b.push_back(Red(col));
        }
        for (unsigned p = w * 3; p < stride; ++p)
            b.push_back(0);
    }
    FilePtr f(std::fopen(path.c_str(), "wb"));
    if (!f)
        return false;
    return std::fwrite(b.data(), 1, b.size(), f.get()) == b.size();
}

bool WritePreviewPng(const CCanvas& c, const std::string& path, bool keyed, bool grid) {
    FilePtr f(std::fopen(path.c_str(), "wb"));
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    const int w = c.Width() * 2, h = c.Height() * 2;
    std::vector<unsigned char> row(w * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f.get());
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Colour col = c.Get(x / 2, y / 2);
            if (keyed && col == KEY)
                col = ((x / 8 + y / 8) & 1) ? 0x9A9A9A : 0x6A6A6A;
            if (grid && (x % 64 == 0 || y % 64 == 0))
                col = 0x303040;
            row[x * 3] = Red(col);
            row[x * 3 + 1] = Green(col);
            row[x * 3 + 2] = Blue(col);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace sp
