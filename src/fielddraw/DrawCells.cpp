// DrawCells: only the visible cells are drawn, so a paint costs the same for any field size.
#include "DrawCells.h"

#include <algorithm>

namespace kx {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

void DrawCells(const CGameFieldBase& field, CDrawDevice24& surface, const IImageList24& imgfull,
               const IImageList24& imgtrans, int32_t offsetX, int32_t offsetY) {
    const int64_t ox = offsetX;
    const int64_t oy = offsetY;
    // Cells from the one holding the surface's first pixel to the one holding its last.
    const int64_t firstX = std::max<int64_t>(FloorDiv(ox, kCellPixels), 0);
    const int64_t firstY = std::max<int64_t>(FloorDiv(oy, kCellPixels), 0);
    const int64_t endX = std::min<int64_t>(
        FloorDiv(surface.GetWidth() + ox + kCellPixels - 1, kCellPixels), field.width);
    const int64_t endY = std::min<int64_t>(
        FloorDiv(surface.GetHeight() + oy + kCellPixels - 1, kCellPixels), field.height);
    for (int64_t y = firstY; y < endY; ++y) {
        for (int64_t x = firstX; x < endX; ++x) {
            const auto sx = static_cast<int32_t>(kCellPixels * x - ox);
            DrawCell(field.CellAt(static_cast<int32_t>(x), static_cast<int32_t>(y)), surface,
                     imgfull, imgtrans, sx, static_cast<int32_t>(kCellPixels * y - oy));
        }
    }
}

void DrawCell(const FieldCell& cell, CDrawDevice24& surface, const IImageList24& imgfull,
              const IImageList24& imgtrans, int32_t x, int32_t y) {
    if (cell.ground != kNothing) {
        imgfull.DrawCell(surface, x, y, cell.ground);
    }
    for (uint8_t object : cell.objects) {
        if (object != kNothing) {
            imgtrans.DrawCell(surface, x, y, object);
        }
    }
    if (cell.item != kNothing) {
        imgtrans.DrawCell(surface, x, y, kItemSpriteBase + cell.item);
    }
    if (cell.creature != kNothing) {
        imgtrans.DrawCell(surface, x, y, kCreatureSpriteBase + cell.creature);
    }
}

} // namespace kx
