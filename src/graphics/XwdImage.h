// Reading X window dumps (the xwd format) into 24-bit pictures, for screenshots in tests.
#pragma once

#include <cstdint>
#include <span>

#include "Bitmap24.h"

namespace kx {

// Larger dumps are refused rather than read: no screen the tests grab comes near this.
inline constexpr int64_t kMaxXwdPixels = 64 * 1024 * 1024;

// Reads a ZPixmap dump of a true-colour or direct-colour visual with 16, 24 or 32 bits per
// pixel, either byte order, into picture (top-down rows as the screen shows them). Anything
// else, a header that contradicts itself or pixel data shorter than the header says gives
// false and leaves picture unchanged.
bool ReadXwdImage(std::span<const uint8_t> bytes, CBitmap24& picture);

} // namespace kx
