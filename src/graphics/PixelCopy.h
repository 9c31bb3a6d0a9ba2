// CopyPixelBytes, the copy of one row's bytes that the drawing loops make for every cell row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kx {

// memcpy for the short rows of sprites (a cell row of 32 pixels is 96 bytes): fixed-size
// chunks the compiler turns into a few moves, the last one overlapping, instead of a call
// per row. The two areas must not overlap.
inline void CopyPixelBytes(uint8_t* target, const uint8_t* source, size_t bytes) {
    if (bytes > 128) {
        std::memcpy(target, source, bytes);
    } else if (bytes >= 16) {
        size_t i = 0;
        for (; i + 16 <= bytes; i += 16) {
            std::memcpy(target + i, source + i, 16);
        }
        if (i < bytes) {
            std::memcpy(target + bytes - 16, source + bytes - 16, 16);
        }
    } else if (bytes >= 8) {
        std::memcpy(target, source, 8);
        std::memcpy(target + bytes - 8, source + bytes - 8, 8);
    } else if (bytes >= 4) {
        std::memcpy(target, source, 4);
        std::memcpy(target + bytes - 4, source + bytes - 4, 4);
    } else {
        for (size_t i = 0; i < bytes; ++i) {
            target[i] = source[i];
        }
    }
}

} // namespace kx
