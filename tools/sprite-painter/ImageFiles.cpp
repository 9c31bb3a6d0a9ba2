// Writing the sheets: the BMP files the game reads and PNG previews for reviewing the art.
#include "Sheet.h"

#include <functional>
#include <string>
#include <vector>

#include "graphics/Bitmap24.h"
#include "graphics/PngFile.h"
#include "storage/OutputFile.h"

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

// The canvas as the graphics library's picture; false when it cannot be allocated.
bool ToBitmap(const CCanvas& c, kx::CBitmap24& bitmap, int zoom = 1,
              const std::function<Colour(Colour, int, int)>& recolour = {}) {
    const int w = c.Width() * zoom, h = c.Height() * zoom;
    if (!bitmap.CreateBitmap(w, h, 0))
        return false;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = bitmap.RowFromTop(y);
        for (int x = 0; x < w; ++x) {
            Colour col = c.Get(x / zoom, y / zoom);
            if (recolour)
                col = recolour(col, x, y);
            row[3 * x] = static_cast<uint8_t>(Blue(col));
            row[3 * x + 1] = static_cast<uint8_t>(Green(col));
            row[3 * x + 2] = static_cast<uint8_t>(Red(col));
        }
    }
    return true;
}

} // namespace

bool WriteBmp(const CCanvas& c, const std::string& path) {
    kx::CBitmap24 bitmap;
    if (!ToBitmap(c, bitmap))
        return false;
    const std::vector<uint8_t> bytes = kx::EncodeBmp(bitmap);
    return !bytes.empty() && kx::WriteWholeFile(path, bytes.data(), bytes.size(), nullptr);
}

bool WritePreviewPng(const CCanvas& c, const std::string& path, bool keyed, bool grid) {
    // Doubled, the key colour as a checkerboard and a grid every two cells.
    auto look = [keyed, grid](Colour col, int x, int y) {
        if (keyed && col == KEY)
            col = ((x / 8 + y / 8) & 1) ? 0x9A9A9A : 0x6A6A6A;
        if (grid && (x % 64 == 0 || y % 64 == 0))
            col = 0x303040;
        return col;
    };
    kx::CBitmap24 bitmap;
    return ToBitmap(c, bitmap, 2, look) && kx::WritePngFile(path, bitmap);
}

} // namespace sp
