// Cutting the window icon out of a sprite sheet.
#include "WindowIcon.h"

namespace kx {

IconPixels MakeIconPixels(const CImageList24& sheet, int32_t index) {
    IconPixels icon;
    const CellSize cell = sheet.GetCellSize();
    if (index < 0 || index >= sheet.GetCount() || cell.width < 1 || cell.height < 1) {
        return icon;
    }
    icon.width = cell.width;
    icon.height = cell.height;
    icon.argb.resize(static_cast<size_t>(cell.width) * static_cast<size_t>(cell.height));
    const CBitmap24& bitmap = sheet.GetBitmap();
    for (int32_t y = 0; y < cell.height; ++y) {
        for (int32_t x = 0; x < cell.width; ++x) {
            if (sheet.IsTransparentAt(x, y, index)) {
                continue;
            }
            const Colour c = bitmap.GetPixel(sheet.CellX(index) + x, sheet.CellY(index) + y);
            icon.argb[static_cast<size_t>(y) * static_cast<size_t>(cell.width) +
                      static_cast<size_t>(x)] = 0xFF000000u | c;
        }
    }
    return icon;
}

} // namespace kx
