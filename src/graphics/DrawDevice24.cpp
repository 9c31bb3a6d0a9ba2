// CDrawDevice24: the surface, its fills, lines, darkening and bitmap copies.
#include "DrawDevice24.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "FontTable.h"
#include "PixelCopy.h"

namespace kx {
namespace {

constexpr uint64_t kMaxSurfaceBytes = 0x7FFFFFFF;

void PutColour(uint8_t* p, Colour colour) {
    p[0] = static_cast<uint8_t>(colour);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour >> 16);
}

Colour GetColour(const uint8_t* p) {
    return static_cast<Colour>(p[0]) | static_cast<Colour>(p[1]) << 8 |
           static_cast<Colour>(p[2]) << 16;
}

// Orders the two ends of a span and clamps it to first .. end - 1; false when it misses.
bool ClipSpan(int32_t& a, int32_t& b, int32_t first, int32_t end) {
    if (a > b) {
        std::swap(a, b);
    }
    if (b < first || a >= end) {
        return false;
    }
    a = std::max(a, first);
    b = std::min(b, end - 1);
    return true;
}

} // namespace

CDrawDevice24::CDrawDevice24() : fontTable(&ProgramFontTable()) {}

bool CDrawDevice24::Create(int32_t newWidth, int32_t newHeight) {
    if (!pixels.empty() && newWidth == width && newHeight == height) {
        ResetClip();
        return true;
    }
    std::vector<uint8_t>().swap(pixels);
    // A surface without pixels is 0 x 0, so that every primitive clips it away.
    width = 0;
    height = 0;
    ResetClip();
    infoHeader = MakeBitmapInfoHeader(0, 0);
    const int32_t stride = RowStride(newWidth);
    if (stride < 1 || newHeight < 1) {
        return false;
    }
    const uint64_t bytes = static_cast<uint64_t>(stride) * static_cast<uint64_t>(newHeight);
    if (bytes > kMaxSurfaceBytes) {
        return false;
    }
    try {
        pixels.resize(static_cast<size_t>(bytes));
    } catch (const std::bad_alloc&) {
        return false;
    }
    width = newWidth;
    height = newHeight;
    infoHeader = MakeBitmapInfoHeader(width, height);
    ResetClip();
    return true;
}

void CDrawDevice24::SetClip(const SurfaceRect& area) {
    clip = {std::clamp(area.left, 0, width), std::clamp(area.top, 0, height),
            std::clamp(area.right, 0, width), std::clamp(area.bottom, 0, height)};
    if (clip.left >= clip.right || clip.top >= clip.bottom) {
        clip = {};
    }
}

bool CDrawDevice24::LogInstead(const DrawCall& call) {
    if (log == nullptr) {
        return false;
    }
    log->calls.push_back(call);
    log->bounds = UnionOf(log->bounds, call.area);
    return !logAndDraw;
}

CDrawDevice24::TextState CDrawDevice24::GetTextState() const {
    return {textX, textY, currentFont, textColour, lineColour, fixedAdvance, proportional};
}

void CDrawDevice24::SetTextState(const TextState& state) {
    textX = state.x;
    textY = state.y;
    currentFont = state.font;
    textColour = state.textColour;
    lineColour = state.lineColour;
    fixedAdvance = state.fixedAdvance;
    proportional = state.proportional;
}

void CDrawDevice24::OnAreaChanged(const SurfaceRect&) {}

void CDrawDevice24::OnUpdate() {}

void CDrawDevice24::CopyTopDownTo(uint8_t* destination, int32_t pitch) const {
    if (pixels.empty()) {
        return;
    }
    const size_t stride = static_cast<size_t>(GetStride());
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(destination + static_cast<size_t>(pitch) * y,
                    pixels.data() + stride * (height - 1 - y), static_cast<size_t>(width) * 3);
    }
}

void CDrawDevice24::CopyToBitmap(CBitmap24& bitmap) const {
    if (!bitmap.CreateBitmap(width, height, 0)) {
        return;
    }
    std::memcpy(bitmap.GetPixels(), pixels.data(), pixels.size());
}

void CDrawDevice24::CopyArea(const CDrawDevice24& from, const SurfaceRect& area) {
    if (&from == this || from.width != width || from.height != height || pixels.empty()) {
        return;
    }
    const int32_t left = std::max(area.left, 0);
    const int32_t top = std::max(area.top, 0);
    const int32_t right = std::min(area.right, width);
    const int32_t bottom = std::min(area.bottom, height);
    if (left >= right || top >= bottom) {
        return;
    }
    if (left == 0 && right == width) {
        // Whole rows lie together, bottom-up: the last row of the area comes first.
        const size_t stride = static_cast<size_t>(GetStride());
        const size_t offset = stride * static_cast<size_t>(height - bottom);
        std::memcpy(pixels.data() + offset, from.pixels.data() + offset,
                    stride * static_cast<size_t>(bottom - top));
        return;
    }
    const size_t bytes = static_cast<size_t>(right - left) * 3;
    for (int32_t y = top; y < bottom; ++y) {
        const size_t offset =
            static_cast<size_t>(GetStride()) * static_cast<size_t>(height - 1 - y) +
            3 * static_cast<size_t>(left);
        std::memcpy(pixels.data() + offset, from.pixels.data() + offset, bytes);
    }
}

void CDrawDevice24::Clear(Colour colour) {
    FillRect(0, 0, width - 1, height - 1, colour, false);
}

void CDrawDevice24::FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour,
                             bool notify) {
    if (pixels.empty() || !ClipSpan(x1, x2, clip.left, clip.right) ||
        !ClipSpan(y1, y2, clip.top, clip.bottom) ||
        LogInstead({DrawCall::Fill, {x1, y1, x2 + 1, y2 + 1}, 0, 0, 0, colour})) {
        return;
    }
    // One row is built in place, then copied into the others.
    const size_t rowBytes = static_cast<size_t>(x2 - x1 + 1) * 3;
    uint8_t* first = PixelAddress(x1, y1);
    for (size_t i = 0; i < rowBytes; i += 3) {
        PutColour(first + i, colour);
    }
    for (int32_t y = y1 + 1; y <= y2; ++y) {
        std::memcpy(PixelAddress(x1, y), first, rowBytes);
    }
    if (notify) {
        OnAreaChanged({x1, y1, x2 + 1, y2 + 1});
    }
}

void CDrawDevice24::SetPixel(int32_t x, int32_t y, Colour colour) {
    if (x >= clip.left && y >= clip.top && x < clip.right && y < clip.bottom && !pixels.empty() &&
        !LogInstead({DrawCall::Pixel, {x, y, x + 1, y + 1}, 0, 0, 0, colour})) {
        PutColour(PixelAddress(x, y), colour);
    }
}

Colour CDrawDevice24::GetPixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height || pixels.empty()) {
        return 0;
    }
    return GetColour(pixels.data() + static_cast<size_t>(GetStride()) * (height - 1 - y) +
                     3 * static_cast<size_t>(x));
}

void CDrawDevice24::DrawHLine(int32_t x1, int32_t x2, int32_t y, bool notify) {
    if (pixels.empty() || y < clip.top || y >= clip.bottom ||
        !ClipSpan(x1, x2, clip.left, clip.right) ||
        LogInstead({DrawCall::Line, {x1, y, x2 + 1, y + 1}, 0, 0, 0, lineColour})) {
        return;
    }
    uint8_t* p = PixelAddress(x1, y);
    for (int32_t x = x1; x <= x2; ++x, p += 3) {
        PutColour(p, lineColour);
    }
    if (notify) {
        OnAreaChanged({x1, y, x2 + 1, y + 1});
    }
}

void CDrawDevice24::DrawVLine(int32_t x, int32_t y1, int32_t y2, bool notify) {
    if (pixels.empty() || x < clip.left || x >= clip.right ||
        !ClipSpan(y1, y2, clip.top, clip.bottom) ||
        LogInstead({DrawCall::Line, {x, y1, x + 1, y2 + 1}, 0, 0, 0, lineColour})) {
        return;
    }
    for (int32_t y = y1; y <= y2; ++y) {
        PutColour(PixelAddress(x, y), lineColour);
    }
    if (notify) {
        OnAreaChanged({x, y1, x + 1, y2 + 1});
    }
}

void CDrawDevice24::DrawFrame(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) {
    lineColour = colour;
    DrawHLine(x1, x2, y1);
    DrawHLine(x1, x2, y2);
    DrawVLine(x1, y1, y2);
    DrawVLine(x2, y1, y2);
}

void CDrawDevice24::DarkenHLine(int32_t x1, int32_t x2, int32_t y, int32_t shift) {
    DarkenRect(x1, y, x2, y, shift, false);
}

void CDrawDevice24::DarkenRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t shift,
                               bool notify) {
    if (shift < 1 || shift > 7 || pixels.empty() || !ClipSpan(x1, x2, clip.left, clip.right) ||
        !ClipSpan(y1, y2, clip.top, clip.bottom) ||
        LogInstead({DrawCall::Darken, {x1, y1, x2 + 1, y2 + 1}, shift})) {
        return;
    }
    // (v >> shift) & mask on the 24-bit value is each byte shifted on its own; eight bytes
    // at a time, the mask dropping the bits each byte got from its neighbour.
    const size_t bytes = static_cast<size_t>(x2 - x1 + 1) * 3;
    const unsigned s = static_cast<unsigned>(shift);
    const uint64_t mask = 0x0101010101010101ull * (0xFFu >> s);
    for (int32_t y = y1; y <= y2; ++y) {
        uint8_t* p = PixelAddress(x1, y);
        size_t i = 0;
        for (; i + 8 <= bytes; i += 8) {
            uint64_t v;
            std::memcpy(&v, p + i, 8);
            v = (v >> s) & mask;
            std::memcpy(p + i, &v, 8);
        }
        for (; i < bytes; ++i) {
            p[i] = static_cast<uint8_t>(p[i] >> s);
        }
    }
    if (notify) {
        OnAreaChanged({x1, y1, x2 + 1, y2 + 1});
    }
}

void CDrawDevice24::DrawBitmap(int32_t x, int32_t y, const CBitmap24& bitmap, bool notify) {
    CopyBitmapArea(x, y, bitmap, 0, 0, bitmap.GetWidth(), bitmap.GetHeight(), kNoTransparentColour,
                   notify);
}

void CDrawDevice24::DrawBitmapPart(int32_t x, int32_t y, const CBitmap24& bitmap, int32_t sx,
                                   int32_t sy, int32_t w, int32_t h, bool notify) {
    CopyBitmapArea(x, y, bitmap, sx, sy, w, h, kNoTransparentColour, notify);
}

void CDrawDevice24::DrawBitmapKeyed(int32_t x, int32_t y, const CBitmap24& bitmap, int32_t sx,
                                    int32_t sy, int32_t w, int32_t h, Colour key, bool notify) {
    CopyBitmapArea(x, y, bitmap, sx, sy, w, h, key, notify);
}

void CDrawDevice24::CopyBitmapArea(int64_t x, int64_t y, const CBitmap24& bitmap, int64_t sx,
                                   int64_t sy, int64_t w, int64_t h, Colour key, bool notify) {
    if (pixels.empty() || !bitmap.IsValid()) {
        return;
    }
    // A source corner above or left of the bitmap would read before its rows: the part
    // outside the bitmap is dropped and the rest keeps its place on the surface.
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    w = std::min<int64_t>(w, bitmap.GetWidth() - sx);
    h = std::min<int64_t>(h, bitmap.GetHeight() - sy);
    if (x < clip.left) {
        sx += clip.left - x;
        w -= clip.left - x;
        x = clip.left;
    }
    if (w < 1) {
        return;
    }
    if (x + w > clip.right) {
        w = clip.right - x;
        if (w < 1) {
            return;
        }
    }
    if (y < clip.top) {
        sy += clip.top - y;
        h -= clip.top - y;
        y = clip.top;
    }
    if (h < 1) {
        return;
    }
    if (y + h > clip.bottom) {
        h = clip.bottom - y;
        if (h < 1) {
            return;
        }
    }
    const auto dx = static_cast<int32_t>(x);
    const auto dy = static_cast<int32_t>(y);
    const auto srcX = static_cast<int32_t>(sx);
    const auto srcY = static_cast<int32_t>(sy);
    const auto cw = static_cast<int32_t>(w);
    const auto ch = static_cast<int32_t>(h);
    if (LogInstead({DrawCall::Copy, {dx, dy, dx + cw, dy + ch}, srcX, srcY, 0, key, &bitmap})) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(cw) * 3;
    if (key > 0xFFFFFF) {
        // Both pictures run bottom-up: each next row lies one stride lower.
        const size_t targetStride = static_cast<size_t>(GetStride());
        const size_t sourceStride = static_cast<size_t>(bitmap.GetStride());
        uint8_t* target = PixelAddress(dx, dy);
        const uint8_t* source = bitmap.RowFromTop(srcY) + 3 * srcX;
        for (int32_t i = 0; i < ch; ++i) {
            CopyPixelBytes(target - targetStride * static_cast<size_t>(i),
                           source - sourceStride * static_cast<size_t>(i), rowBytes);
        }
    } else {
        const auto kb = static_cast<uint8_t>(key);
        const auto kg = static_cast<uint8_t>(key >> 8);
        const auto kr = static_cast<uint8_t>(key >> 16);
        for (int32_t i = 0; i < ch; ++i) {
            uint8_t* d = PixelAddress(dx, dy + i);
            const uint8_t* s = bitmap.RowFromTop(srcY + i) + 3 * srcX;
            for (size_t j = 0; j < rowBytes; j += 3) {
                if (s[j] != kb || s[j + 1] != kg || s[j + 2] != kr) {
                    d[j] = s[j];
                    d[j + 1] = s[j + 1];
                    d[j + 2] = s[j + 2];
                }
            }
        }
    }
    if (notify) {
        OnAreaChanged({dx, dy, dx + cw, dy + ch});
    }
}

} // namespace kx
