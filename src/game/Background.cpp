// Background generation: glow brushes along random nebula walks, then stars; and the tiling.
#include "Background.h"

#include <algorithm>
#include <cstdlib>

namespace kx {

namespace {

constexpr int kBrushSize = 15;

// Intensity digits of the glow brush; '.' leaves a pixel alone.
constexpr const char* kGlowBrush[kBrushSize] = {
    ".....11111.....", "...111222111...", "..11222222211..", ".1122233322211.", ".1223333333221.",
    "112233444332211", "122334444433221", "122334444433221", "122334444433221", "112233444332211",
    ".1223333333221.", ".1122233322211.", "..11222222211..", "...111222111...", ".....11111.....",
};

// One period is enough: every step and every brush offset is far smaller than the picture.
int32_t Wrap(int32_t v) {
    if (v < 0)
        return v + kBackgroundSize;
    if (v >= kBackgroundSize)
        return v - kBackgroundSize;
    return v;
}

int32_t R(CRandom& random, uint32_t n) {
    return static_cast<int32_t>(random.Below(n));
}

uint8_t* Pixel(CBitmap24& image, int32_t x, int32_t y) {
    return image.RowFromTop(y) + 3 * x;
}

void SetPixel(CBitmap24& image, int32_t x, int32_t y, int red, int green, int blue) {
    uint8_t* p = Pixel(image, x, y);
    p[0] = static_cast<uint8_t>(blue);
    p[1] = static_cast<uint8_t>(green);
    p[2] = static_cast<uint8_t>(red);
}

} // namespace

void StampGlow(CBitmap24& image, int32_t x, int32_t y, int red, int green, int blue) {
    for (int j = 0; j < kBrushSize; ++j) {
        uint8_t* row = image.RowFromTop(Wrap(y + j));
        for (int i = 0; i < kBrushSize; ++i) {
            char c = kGlowBrush[j][i];
            if (c == '.')
                continue;
            int d = c - '0';
            uint8_t* p = row + 3 * Wrap(x + i);
            p[0] = static_cast<uint8_t>(std::min(255, p[0] + d * blue));
            p[1] = static_cast<uint8_t>(std::min(255, p[1] + d * green));
            p[2] = static_cast<uint8_t>(std::min(255, p[2] + d * red));
        }
    }
}

void PlaceStar(CBitmap24& image, int32_t sx, int32_t sy, int red, int green, int blue) {
    SetPixel(image, sx, sy, red, green, blue);
    const int32_t sides[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& s : sides)
        SetPixel(image, Wrap(sx + s[0]), Wrap(sy + s[1]), red / 2, green / 2, blue / 2);
    const int32_t corners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const auto& c : corners)
        SetPixel(image, Wrap(sx + c[0]), Wrap(sy + c[1]), red / 4, green / 4, blue / 4);
}

namespace {

// Of two draws of R(21) - 10, the one nearer zero; the first on a tie.
int32_t Jitter(CRandom& random) {
    int32_t a = R(random, 21) - 10;
    int32_t b = R(random, 21) - 10;
    return std::abs(b) < std::abs(a) ? b : a;
}

void DrawNebula(CBitmap24& image, CRandom& random) {
    int increments[3] = {0, 0, 0}; // red, green, blue
    for (int pick = 0; pick < 2; ++pick) {
        int channel = R(random, 3);
        increments[channel] = R(random, 4) + 2;
    }
    int32_t x = R(random, kBackgroundSize);
    int32_t y = R(random, kBackgroundSize);
    int32_t dx = R(random, 5) - 2;
    int32_t dy = R(random, 5) - 2;
    for (int step = 0; step < 200; ++step) {
        int32_t jx = Jitter(random);
        int32_t jy = Jitter(random);
        StampGlow(image, Wrap(x + jx), Wrap(y + jy), increments[0], increments[1], increments[2]);
        dx = std::clamp(dx + R(random, 3) - 1, -2, 2);
        dy = std::clamp(dy + R(random, 3) - 1, -2, 2);
        x = Wrap(x + dx);
        y = Wrap(y + dy);
    }
}

void DrawStar(CBitmap24& image, CRandom& random) {
    int32_t sx = R(random, kBackgroundSize);
    int32_t sy = R(random, kBackgroundSize);
    int red = R(random, 256);
    int green = R(random, 256);
    int blue = R(random, 256);
    PlaceStar(image, sx, sy, red, green, blue);
}

} // namespace

bool GenerateBackground(CBitmap24& background, CRandom& random) {
    if (!background.CreateBitmap(kBackgroundSize, kBackgroundSize, 0x000000))
        return false;
    int blobs = R(random, 4) + 2;
    for (int n = 0; n < blobs; ++n)
        DrawNebula(background, random);
    for (int n = 0; n < 100; ++n)
        DrawStar(background, random);
    return true;
}

void TileBackground(CDrawDevice24& surface, const CBitmap24& background, int32_t offsetX,
                    int32_t offsetY) {
    TileBackground(surface, background, offsetX, offsetY, surface.Whole());
}

void TileBackground(CDrawDevice24& surface, const CBitmap24& background, int32_t offsetX,
                    int32_t offsetY, const SurfaceRect& area) {
    const int64_t width = background.GetWidth();
    const int64_t height = background.GetHeight();
    if (!background.IsValid() || width <= 0 || height <= 0)
        return;
    const int64_t left = std::max<int64_t>(area.left, 0);
    const int64_t top = std::max<int64_t>(area.top, 0);
    const int64_t right = std::min<int64_t>(area.right, surface.GetWidth());
    const int64_t bottom = std::min<int64_t>(area.bottom, surface.GetHeight());
    if (left >= right || top >= bottom)
        return;
    // Division truncates toward zero, as the paint's offsets do.
    const int64_t startX = -static_cast<int64_t>(offsetX) / 4;
    const int64_t startY = -static_cast<int64_t>(offsetY) / 4;
    // The tile that holds the area's first pixel, whole tiles away from the start.
    auto firstTile = [](int64_t start, int64_t size, int64_t edge) {
        const int64_t d = edge - start;
        return start + (d / size - (d % size < 0 ? 1 : 0)) * size;
    };
    for (int64_t y = firstTile(startY, height, top); y < bottom; y += height) {
        const int64_t t = std::max(y, top);
        const int64_t b = std::min(y + height, bottom);
        for (int64_t x = firstTile(startX, width, left); x < right; x += width) {
            const int64_t l = std::max(x, left);
            const int64_t r = std::min(x + width, right);
            surface.DrawBitmapPart(static_cast<int32_t>(l), static_cast<int32_t>(t), background,
                                   static_cast<int32_t>(l - x), static_cast<int32_t>(t - y),
                                   static_cast<int32_t>(r - l), static_cast<int32_t>(b - t));
        }
    }
}

} // namespace kx
