// The generated star-field background of a level and its quarter-speed tiling behind the field.
#pragma once

#include <cstdint>

#include "graphics/Bitmap24.h"
#include "graphics/DrawDevice24.h"
#include "rules/Random.h"

namespace kx {

inline constexpr int32_t kBackgroundSize = 800;

// Makes a new 800 × 800 picture of nebulae and stars from the program's generator; the
// numbers are drawn in a fixed order, so a seed always gives the same picture. The picture
// wraps around at its edges, so tiles join without seams. False if it cannot be allocated.
bool GenerateBackground(CBitmap24& background, CRandom& random);

// The two marks the generator makes on an 800 × 800 picture, both wrapping at its edges:
// the 15 × 15 glow brush with its top-left corner at (x, y), adding digit × increment to each
// channel up to 255; and a star, its colour at (sx, sy), half of it on the four sides and a
// quarter on the diagonals, replacing what was there.
void StampGlow(CBitmap24& image, int32_t x, int32_t y, int red, int green, int blue);
void PlaceStar(CBitmap24& image, int32_t sx, int32_t sy, int red, int green, int blue);

// Tiles the picture over the whole surface for the view offset of the field (field pixel p
// is drawn at p - offset); the background moves at a quarter of the field's speed.
void TileBackground(CDrawDevice24& surface, const CBitmap24& background, int32_t offsetX,
                    int32_t offsetY);
// The same tiling inside one area of the surface only (right and bottom exclusive).
void TileBackground(CDrawDevice24& surface, const CBitmap24& background, int32_t offsetX,
                    int32_t offsetY, const SurfaceRect& area);

} // namespace kx
