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

CellRange VisibleCells(const CGameFieldBase& field, int32_t width, int32_t height, int32_t offsetX,
                       int32_t offsetY) {
    // From the cell holding the surface's first pixel to the one holding its last.
    const auto first = [](int32_t offset) {
        return static_cast<int32_t>(std::max<int64_t>(FloorDiv(offset, kCellPixels), 0));
    };
    const auto end = [](int32_t size, int32_t offset, int32_t count, int32_t from) {
        return static_cast<int32_t>(
            std::clamp<int64_t>(FloorDiv(int64_t{size} + offset + kCellPixels - 1, kCellPixels),
                                from, std::max(count, from)));
    };
    CellRange range;
    range.firstX = first(offsetX);
    range.firstY = first(offsetY);
    range.endX = end(width, offsetX, field.width, range.firstX);
    range.endY = end(height, offsetY, field.height, range.firstY);
    return range;
}

void DrawCells(const CGameFieldBase& field, CDrawDevice24& surface, const IImageList24& imgfull,
               const IImageList24& imgtrans, int32_t offsetX, int32_t offsetY) {
    const CellRange cells =
        VisibleCells(field, surface.GetWidth(), surface.GetHeight(), offsetX, offsetY);
    for (int32_t y = cells.firstY; y < cells.endY; ++y) {
        for (int32_t x = cells.firstX; x < cells.endX; ++x) {
            DrawCell(field.CellAt(x, y), surface, imgfull, imgtrans, x * kCellPixels - offsetX,
                     y * kCellPixels - offsetY);
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
