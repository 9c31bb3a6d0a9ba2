// The program's window icon, cut from the transparent sprite sheet.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/ImageList24.h"

namespace kx {

// The current worm's head: the game's own face.
inline constexpr int32_t kIconSprite = 149;

struct IconPixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> argb; // 0xAARRGGBB, rows top-down; transparent pixels are 0
};

// The cell as a picture with alpha: the sheet's transparent colour becomes fully transparent,
// everything else opaque. Empty when the sheet has no such cell.
IconPixels MakeIconPixels(const CImageList24& sheet, int32_t index);

} // namespace kx
