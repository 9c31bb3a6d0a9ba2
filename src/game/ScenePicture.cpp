// CScenePicture: a cell is drawn again only when what its picture is made of changed; the view
// moving, the background or the sprite sheets draw everything again.
#include "ScenePicture.h"

#include <algorithm>

#include "Background.h"
#include "fielddraw/DrawCells.h"

namespace kx {

namespace {

// The part of the surface that the field's cells cover when the opaque ground of every one
// of them covers it, so that the background under it need not be drawn; else nothing.
SurfaceRect OpaqueGroundArea(const CGameFieldBase& field, const IImageList24& imgfull,
                             int32_t width, int32_t height, int32_t offsetX, int32_t offsetY) {
    if (imgfull.GetCellSize() != CellSize{kCellPixels, kCellPixels} ||
        imgfull.GetTransparentColour() != kNoTransparentColour)
        return {};
    const int64_t left = std::max<int64_t>(-int64_t{offsetX}, 0);
    const int64_t top = std::max<int64_t>(-int64_t{offsetY}, 0);
    const int64_t right = std::min<int64_t>(int64_t{field.width} * kCellPixels - offsetX, width);
    const int64_t bottom = std::min<int64_t>(int64_t{field.height} * kCellPixels - offsetY, height);
    if (left >= right || top >= bottom)
        return {};
    const CellRange cells = VisibleCells(field, width, height, offsetX, offsetY);
    for (int32_t y = cells.firstY; y < cells.endY; ++y) {
        for (int32_t x = cells.firstX; x < cells.endX; ++x) {
            const uint8_t ground = field.CellAt(x, y).ground;
            if (ground == kNothing || ground >= imgfull.GetCount())
                return {};
        }
    }
    return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
            static_cast<int32_t>(bottom)};
}

} // namespace

CScenePicture::CellLook CScenePicture::LookOf(const FieldCell& cell) {
    CellLook look;
    look.ground = cell.ground;
    std::copy(std::begin(cell.objects), std::end(cell.objects), look.objects.begin());
    look.item = cell.item;
    look.creature = cell.creature;
    return look;
}

bool CScenePicture::Update(const CGameFieldBase& field, const CBitmap24& background,
                           const IImageList24& imgfull, const IImageList24& imgtrans, int32_t width,
                           int32_t height, int32_t offsetX, int32_t offsetY,
                           std::vector<SurfaceRect>& changed) {
    if (!picture.Create(width, height)) {
        valid = false;
        return true;
    }
    const View now{width,        height,      offsetX,  offsetY,  field.width,
                   field.height, &background, &imgfull, &imgtrans};
    const CellRange cells = VisibleCells(field, width, height, offsetX, offsetY);
    const int32_t x0 = cells.firstX;
    const int32_t y0 = cells.firstY;
    const int32_t x1 = cells.endX;
    const int32_t y1 = cells.endY;
    // Cells drawn one by one must stay inside their own squares.
    const bool cellsFit = imgfull.GetCellSize() == CellSize{kCellPixels, kCellPixels} &&
                          imgtrans.GetCellSize() == CellSize{kCellPixels, kCellPixels};
    const bool whole = !valid || now != view || !cellsFit;
    const size_t rowLength = static_cast<size_t>(x1 - x0);
    if (whole) {
        view = now;
        DrawWhole(field, background, imgfull, imgtrans);
        looks.clear();
        looks.reserve(rowLength * static_cast<size_t>(y1 - y0));
        for (int32_t y = y0; y < y1; ++y)
            for (int32_t x = x0; x < x1; ++x)
                looks.push_back(LookOf(field.CellAt(x, y)));
        valid = true;
        return true;
    }
    for (int32_t y = y0; y < y1; ++y) {
        const int32_t top = y * kCellPixels - offsetY;
        // Neighbouring changed cells of a row make one area.
        int32_t runStart = -1;
        for (int32_t x = x0; x <= x1; ++x) {
            bool differs = false;
            if (x < x1) {
                CellLook& last =
                    looks[static_cast<size_t>(y - y0) * rowLength + static_cast<size_t>(x - x0)];
                const FieldCell& cell = field.CellAt(x, y);
                const CellLook look = LookOf(cell);
                if (look != last) {
                    last = look;
                    differs = true;
                    const int32_t left = x * kCellPixels - offsetX;
                    const SurfaceRect square{left, top, left + kCellPixels, top + kCellPixels};
                    // Opaque ground covers the whole square.
                    const bool covered = imgfull.GetTransparentColour() == kNoTransparentColour &&
                                         cell.ground != kNothing &&
                                         cell.ground < imgfull.GetCount();
                    if (!covered && background.IsValid())
                        TileBackground(picture, background, offsetX, offsetY, square);
                    else if (!covered)
                        picture.FillRect(left, top, left + kCellPixels - 1, top + kCellPixels - 1,
                                         0x000000);
                    DrawCell(cell, picture, imgfull, imgtrans, left, top);
                }
            }
            if (differs && runStart < 0) {
                runStart = x;
            } else if (!differs && runStart >= 0) {
                changed.push_back({std::max(runStart * kCellPixels - offsetX, 0), std::max(top, 0),
                                   std::min(x * kCellPixels - offsetX, width),
                                   std::min(top + kCellPixels, height)});
                runStart = -1;
            }
        }
    }
    return false;
}

void CScenePicture::DrawWhole(const CGameFieldBase& field, const CBitmap24& background,
                              const IImageList24& imgfull, const IImageList24& imgtrans) {
    const int32_t width = view.width;
    const int32_t height = view.height;
    const int32_t offsetX = view.offsetX;
    const int32_t offsetY = view.offsetY;
    // The background shows only around the ground, in bands above, below and beside it.
    const SurfaceRect g = OpaqueGroundArea(field, imgfull, width, height, offsetX, offsetY);
    if (g != SurfaceRect{0, 0, width, height}) {
        if (!background.IsValid())
            picture.Clear(0x000000);
        if (g.left >= g.right) {
            TileBackground(picture, background, offsetX, offsetY);
        } else {
            TileBackground(picture, background, offsetX, offsetY, {0, 0, width, g.top});
            TileBackground(picture, background, offsetX, offsetY, {0, g.bottom, width, height});
            TileBackground(picture, background, offsetX, offsetY, {0, g.top, g.left, g.bottom});
            TileBackground(picture, background, offsetX, offsetY,
                           {g.right, g.top, width, g.bottom});
        }
    }
    DrawCells(field, picture, imgfull, imgtrans, offsetX, offsetY);
}

} // namespace kx
