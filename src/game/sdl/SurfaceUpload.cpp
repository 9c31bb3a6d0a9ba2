// The surface to a 32-bit texture, one row at a time.
#include "SurfaceUpload.h"

#include <cstring>

namespace kx {

void CopyTopDownToXrgb(const CDrawDevice24& surface, uint8_t* destination, int32_t pitch) {
    if (!surface.HasPixels()) {
        return;
    }
    const int32_t width = surface.GetWidth();
    const int32_t height = surface.GetHeight();
    const size_t stride = static_cast<size_t>(surface.GetStride());
    const uint8_t* bottomUp = surface.GetPixels();
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source = bottomUp + stride * static_cast<size_t>(height - 1 - y);
        uint8_t* target = destination + static_cast<size_t>(pitch) * static_cast<size_t>(y);
        for (int32_t x = 0; x < width; ++x, source += 3) {
            const uint32_t value = 0xFF000000u | static_cast<uint32_t>(source[2]) << 16 |
                                   static_cast<uint32_t>(source[1]) << 8 | source[0];
            std::memcpy(target + 4 * static_cast<size_t>(x), &value, 4);
        }
    }
}

} // namespace kx
