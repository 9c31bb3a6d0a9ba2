// DrawCells, the field's visible cells drawn from the two sprite sheets.
#pragma once

#include <cstdint>

#include "field/GameField.h"
#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"

namespace kx {

inline constexpr int32_t kCellPixels = 32;

// Sheet indices of the pictures drawn over the ground ("imgtrans").
inline constexpr int32_t kItemSpriteBase = 128;
inline constexpr int32_t kCreatureSpriteBase = 144;
inline constexpr int32_t kSpriteHundredCorn = 252;
inline constexpr int32_t kSpriteTenCorn = 253;
inline constexpr int32_t kSpriteOneCorn = 254;

// The cells [firstX, endX) x [firstY, endY) that can be seen on a width x height surface with
// the field drawn at (-offsetX, -offsetY); empty when none can.
struct CellRange {
    int32_t firstX = 0;
    int32_t firstY = 0;
    int32_t endX = 0;
    int32_t endY = 0;
};
CellRange VisibleCells(const CGameFieldBase& field, int32_t width, int32_t height, int32_t offsetX,
                       int32_t offsetY);

// Draws every cell that can be seen on the surface: field pixel (px, py) lands on surface
// pixel (px - offsetX, py - offsetY). Per cell, bottom to top: ground ("imgfull"), the six
// objects in slot order, the item, the creature ("imgtrans"). The switch layer and the flags
// are not drawn; where there is no cell or no ground the surface is left as it was.
void DrawCells(const CGameFieldBase& field, CDrawDevice24& surface, const IImageList24& imgfull,
               const IImageList24& imgtrans, int32_t offsetX, int32_t offsetY);
// One cell's layers as DrawCells draws them, its top-left corner at surface pixel (x, y).
void DrawCell(const FieldCell& cell, CDrawDevice24& surface, const IImageList24& imgfull,
              const IImageList24& imgtrans, int32_t x, int32_t y);

} // namespace kx
