// CImageList24: loading a sheet and drawing and hit-testing its cells.
#include "ImageList24.h"

#include <algorithm>
#include <cstdint>

namespace kx {

void CImageList24::TakeLayout(int32_t cellWidth, int32_t cellHeight, Colour colour) {
    transparentColour = colour;
    // Cells smaller than a pixel would divide by zero; such a sheet has no cells.
    if (cellWidth < 1 || cellHeight < 1) {
        cellSize = {cellWidth, cellHeight};
        columns = 0;
        count = 0;
        return;
    }
    cellSize = {cellWidth, cellHeight};
    columns = bitmap.GetWidth() / cellWidth;
    const int64_t cells = static_cast<int64_t>(bitmap.GetHeight() / cellHeight) * columns;
    count = static_cast<int32_t>(std::min<int64_t>(cells, INT32_MAX));
}

bool CImageList24::LoadSheetFile(const std::string& path, int32_t cellWidth, int32_t cellHeight,
                                 Colour colour) {
    if (!bitmap.LoadBitmapFile(path, false)) {
        return false;
    }
    TakeLayout(cellWidth, cellHeight, colour);
    return true;
}

bool CImageList24::LoadSheet(IStore& store, int32_t cellWidth, int32_t cellHeight, Colour colour) {
    if (!bitmap.LoadBitmap(store, false)) {
        return false;
    }
    TakeLayout(cellWidth, cellHeight, colour);
    return true;
}

void CImageList24::DrawCell(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index) const {
    if (HasCell(index)) {
        surface.DrawBitmapKeyed(x, y, bitmap, CellX(index), CellY(index), cellSize.width,
                                cellSize.height, transparentColour, false);
    }
}

void CImageList24::DrawCellOpaque(CDrawDevice24& surface, int32_t x, int32_t y,
                                  int32_t index) const {
    if (HasCell(index)) {
        surface.DrawBitmapPart(x, y, bitmap, CellX(index), CellY(index), cellSize.width,
                               cellSize.height, false);
    }
}

bool CImageList24::IsTransparentAt(int32_t x, int32_t y, int32_t index) const {
    if (!HasCell(index) || x < 0 || y < 0 || x >= cellSize.width || y >= cellSize.height) {
        return true;
    }
    if (transparentColour == kNoTransparentColour) {
        return false;
    }
    return bitmap.GetPixel(CellX(index) + x, CellY(index) + y) == (transparentColour & 0xFFFFFF);
}

} // namespace kx
