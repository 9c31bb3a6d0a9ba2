// CImageList24: loading a sheet and drawing and hit-testing its cells.
#include "ImageList24.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "PixelCopy.h"

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
    FindOpaqueRuns();
}

void CImageList24::FindOpaqueRuns() {
    std::vector<OpaqueRun>().swap(runs);
    std::vector<uint32_t>().swap(rowRuns);
    const int32_t w = cellSize.width;
    const int32_t h = cellSize.height;
    // Keyed sheets only; runs count in 16 bits and index in 32 (larger sheets test pixels).
    if (!bitmap.IsValid() || transparentColour > 0xFFFFFF || count < 1 ||
        w > std::numeric_limits<uint16_t>::max() ||
        static_cast<uint64_t>(count) * static_cast<uint64_t>(h) >=
            std::numeric_limits<uint32_t>::max())
        return;
    const auto kb = static_cast<uint8_t>(transparentColour);
    const auto kg = static_cast<uint8_t>(transparentColour >> 8);
    const auto kr = static_cast<uint8_t>(transparentColour >> 16);
    rowRuns.reserve(static_cast<size_t>(count) * static_cast<size_t>(h) + 1);
    for (int32_t index = 0; index < count; ++index) {
        for (int32_t r = 0; r < h; ++r) {
            rowRuns.push_back(static_cast<uint32_t>(runs.size()));
            const uint8_t* p = bitmap.RowFromTop(CellY(index) + r) + 3 * CellX(index);
            int32_t x = 0;
            while (x < w) {
                while (x < w && p[3 * x] == kb && p[3 * x + 1] == kg && p[3 * x + 2] == kr)
                    ++x;
                const int32_t start = x;
                while (x < w && (p[3 * x] != kb || p[3 * x + 1] != kg || p[3 * x + 2] != kr))
                    ++x;
                if (x > start)
                    runs.push_back(
                        {static_cast<uint16_t>(start), static_cast<uint16_t>(x - start)});
            }
            if (runs.size() >= std::numeric_limits<uint32_t>::max()) {
                std::vector<OpaqueRun>().swap(runs);
                std::vector<uint32_t>().swap(rowRuns);
                return;
            }
        }
    }
    rowRuns.push_back(static_cast<uint32_t>(runs.size()));
}

void CImageList24::DrawRuns(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index) const {
    // The cell's rectangle clipped to the surface's clip, in the cell's own coordinates.
    const SurfaceRect& clip = surface.GetClip();
    const int64_t left = std::max<int64_t>(0, int64_t{clip.left} - x);
    const int64_t top = std::max<int64_t>(0, int64_t{clip.top} - y);
    const int64_t right = std::min<int64_t>(cellSize.width, int64_t{clip.right} - x);
    const int64_t bottom = std::min<int64_t>(cellSize.height, int64_t{clip.bottom} - y);
    if (left >= right || top >= bottom)
        return;
    const SurfaceRect area{static_cast<int32_t>(x + left), static_cast<int32_t>(y + top),
                           static_cast<int32_t>(x + right), static_cast<int32_t>(y + bottom)};
    if (surface.LogInstead({DrawCall::Runs, area, x, y, index, 0, this}))
        return;
    const size_t firstRow = static_cast<size_t>(index) * static_cast<size_t>(cellSize.height);
    const int32_t cellX = CellX(index);
    const int32_t cellY = CellY(index);
    for (int64_t r = top; r < bottom; ++r) {
        const size_t row = firstRow + static_cast<size_t>(r);
        const uint32_t end = rowRuns[row + 1];
        uint32_t i = rowRuns[row];
        if (i == end)
            continue;
        const auto rr = static_cast<int32_t>(r);
        uint8_t* target = surface.PixelAddress(0, y + rr);
        const uint8_t* source = bitmap.RowFromTop(cellY + rr) + 3 * static_cast<size_t>(cellX);
        for (; i < end; ++i) {
            const int64_t a = std::max<int64_t>(runs[i].start, left);
            const int64_t b = std::min<int64_t>(runs[i].start + runs[i].length, right);
            if (a < b)
                CopyPixelBytes(target + 3 * (x + a), source + 3 * a,
                               static_cast<size_t>(b - a) * 3);
        }
    }
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
    if (!HasCell(index)) {
        return;
    }
    if (!rowRuns.empty()) {
        DrawRuns(surface, x, y, index);
        return;
    }
    surface.DrawBitmapKeyed(x, y, bitmap, CellX(index), CellY(index), cellSize.width,
                            cellSize.height, transparentColour, false);
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
