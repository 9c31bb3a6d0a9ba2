// The surface to a 32-bit texture in one pass: each row read once, widened and written once.
#include "SurfaceUpload.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#include <tmmintrin.h>
#define KX_UPLOAD_SSSE3 1
#endif

namespace kx {

namespace {

// One pixel: the bytes blue, green, red become the word 0xFFRRGGBB.
inline uint32_t Widen(const uint8_t* p) {
    return 0xFF000000u | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 |
           p[0];
}

// Four pixels at a time from three little-endian words; the rest one by one.
void WidenRow(const uint8_t* source, uint8_t* target, int32_t width) {
    int32_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 4 <= width; x += 4, source += 12, target += 16) {
            uint32_t in[3];
            std::memcpy(in, source, 12);
            const uint32_t out[4] = {
                0xFF000000u | (in[0] & 0xFFFFFF),
                0xFF000000u | in[0] >> 24 | (in[1] & 0xFFFF) << 8,
                0xFF000000u | in[1] >> 16 | (in[2] & 0xFF) << 16,
                0xFF000000u | in[2] >> 8,
            };
            std::memcpy(target, out, 16);
        }
    }
    for (; x < width; ++x, source += 3, target += 4) {
        const uint32_t value = Widen(source);
        std::memcpy(target, &value, 4);
    }
}

#ifdef KX_UPLOAD_SSSE3
// Sixteen pixels (48 bytes in, 64 out) a round: a byte shuffle spreads each group of four.
__attribute__((target("ssse3"))) void WidenRowSsse3(const uint8_t* source, uint8_t* target,
                                                    int32_t width) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int32_t x = 0;
    for (; x + 16 <= width; x += 16, source += 48, target += 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 32));
        const __m128i p0 = _mm_shuffle_epi8(a, spread);
        const __m128i p1 = _mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), spread);
        const __m128i p2 = _mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), spread);
        const __m128i p3 = _mm_shuffle_epi8(_mm_srli_si128(c, 4), spread);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_or_si128(p0, opaque));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 16), _mm_or_si128(p1, opaque));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 32), _mm_or_si128(p2, opaque));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 48), _mm_or_si128(p3, opaque));
    }
    WidenRow(source, target, width - x);
}

using RowWidener = void (*)(const uint8_t*, uint8_t*, int32_t);

RowWidener ChooseWidener() {
    return __builtin_cpu_supports("ssse3") ? WidenRowSsse3 : WidenRow;
}
#endif

} // namespace

void CopyTopDownToXrgb(const CDrawDevice24& surface, uint8_t* destination, int32_t pitch) {
    CopyTopDownToXrgb(surface, surface.Whole(), destination, pitch);
}

void CopyTopDownToXrgb(const CDrawDevice24& surface, const SurfaceRect& area, uint8_t* destination,
                       int32_t pitch) {
    if (!surface.HasPixels()) {
        return;
    }
#ifdef KX_UPLOAD_SSSE3
    static const RowWidener widen = ChooseWidener();
#else
    constexpr auto widen = WidenRow;
#endif
    const int32_t height = surface.GetHeight();
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min(area.right, surface.GetWidth());
    const int32_t bottom = std::min(area.bottom, height);
    if (left >= right || top >= bottom) {
        return;
    }
    const size_t stride = static_cast<size_t>(surface.GetStride());
    const uint8_t* bottomUp = surface.GetPixels() + 3 * static_cast<size_t>(left);
    for (int32_t y = top; y < bottom; ++y) {
        widen(bottomUp + stride * static_cast<size_t>(height - 1 - y),
              destination + static_cast<size_t>(pitch) * static_cast<size_t>(y - area.top) +
                  4 * static_cast<size_t>(left - area.left),
              right - left);
    }
}

} // namespace kx
