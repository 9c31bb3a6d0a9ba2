// Copying the game's surface into a 32-bit texture: rows turned top-down, pixels widened.
#pragma once

#include <cstdint>

#include "graphics/DrawDevice24.h"

namespace kx {

// Writes the surface top row first into destination as 0xFFRRGGBB values (SDL's XRGB8888 and
// ARGB8888 layouts), rows pitch bytes apart. Both the software and the GPU renderers take
// that format without converting it again, unlike three-byte pixels.
void CopyTopDownToXrgb(const CDrawDevice24& surface, uint8_t* destination, int32_t pitch);
// The same for one area of the surface only (clipped to it): destination is where the area's
// top-left pixel goes.
void CopyTopDownToXrgb(const CDrawDevice24& surface, const SurfaceRect& area, uint8_t* destination,
                       int32_t pitch);

} // namespace kx
