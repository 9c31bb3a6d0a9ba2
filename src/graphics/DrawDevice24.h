// CDrawDevice24, the off-screen 24-bit drawing surface with its primitives and text state.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Bitmap24.h"

namespace kx {

class CFontTable;
using FontData = std::shared_ptr<const std::vector<uint8_t>>;

// Left, top, right, bottom; right and bottom exclusive where a changed area is reported.
struct SurfaceRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const SurfaceRect&) const = default;
    bool IsEmpty() const { return left >= right || top >= bottom; }
};

// The smallest rectangle holding both; an empty one adds nothing.
inline SurfaceRect UnionOf(const SurfaceRect& a, const SurfaceRect& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
            a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}
// The pixels both hold; empty when they share none.
inline SurfaceRect IntersectionOf(const SurfaceRect& a, const SurfaceRect& b) {
    const SurfaceRect common{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                             a.right < b.right ? a.right : b.right,
                             a.bottom < b.bottom ? a.bottom : b.bottom};
    return common.IsEmpty() ? SurfaceRect{} : common;
}
// Whether the two share a pixel.
inline bool Meet(const SurfaceRect& a, const SurfaceRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

struct TextSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const TextSize&) const = default;
};

inline constexpr Colour kDefaultTextColour = 0x808080;

// One drawing call as a draw log keeps it: what kind, the surface pixels it changes (clipped),
// and everything else its pixels depend on, so that two equal calls draw the same.
struct DrawCall {
    enum Kind : uint8_t { Fill, Pixel, Line, Darken, Copy, Glyph, Runs };
    Kind kind = Fill;
    SurfaceRect area;
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;
    Colour colour = 0;
    const void* source = nullptr;
    bool operator==(const DrawCall&) const = default;
};

// The calls of a drawing pass made with a log set, and the union of their areas.
struct DrawLog {
    std::vector<DrawCall> calls;
    SurfaceRect bounds;
    void Clear() {
        calls.clear();
        bounds = {};
    }
};

class CDrawDevice24 {
public:
    CDrawDevice24();
    CDrawDevice24(const CDrawDevice24&) = delete;
    CDrawDevice24& operator=(const CDrawDevice24&) = delete;
    virtual ~CDrawDevice24() = default;

    // Keeps the contents when the size is unchanged; false when the pixels cannot be had.
    virtual bool Create(int32_t width, int32_t height);
    // Every primitive draws only inside the clip, which Create resets to the whole surface.
    void SetClip(const SurfaceRect& area);
    void ResetClip() { clip = Whole(); }
    // The whole surface as a rectangle.
    SurfaceRect Whole() const { return {0, 0, width, height}; }
    const SurfaceRect& GetClip() const { return clip; }
    // While a log is set each primitive adds its call to it and, unless draw is true, draws
    // nothing.
    void SetDrawLog(DrawLog* target, bool draw = false) {
        log = target;
        logAndDraw = draw;
    }
    // For drawing code outside this class: logs the call; true when it must not be drawn.
    bool LogInstead(const DrawCall& call);
    // The text state a drawing pass starts from, so that a pass can be repeated exactly.
    struct TextState {
        int32_t x = 0;
        int32_t y = 0;
        FontData font;
        Colour textColour = kDefaultTextColour;
        Colour lineColour = 0;
        int32_t fixedAdvance = 1;
        bool proportional = true;
    };
    TextState GetTextState() const;
    void SetTextState(const TextState& state);
    // Called with the changed pixels by primitives whose notify argument is true.
    virtual void OnAreaChanged(const SurfaceRect& area);
    virtual void OnUpdate();

    int32_t GetWidth() const { return width; }
    int32_t GetHeight() const { return height; }
    int32_t GetStride() const { return RowStride(width); }
    bool HasPixels() const { return !pixels.empty(); }
    // No range check.
    uint8_t* PixelAddress(int32_t x, int32_t y) {
        return pixels.data() + static_cast<size_t>(GetStride()) * (height - 1 - y) + 3 * x;
    }
    // The rows bottom-up, GetStride() bytes apart, for front ends that show the surface.
    const uint8_t* GetPixels() const { return pixels.data(); }
    const std::array<uint8_t, kBitmapInfoHeaderSize>& GetBitmapInfoHeader() const {
        return infoHeader;
    }
    // Copies the picture top row first into destination, whose rows are pitch bytes apart
    // and hold at least width × 3 bytes each (a BGR24 texture).
    void CopyTopDownTo(uint8_t* destination, int32_t pitch) const;
    // Writes the surface as a PNG file; false when it has no pixels or the write fails,
    // with the reason in *error when given.
    bool WritePng(const std::string& path, std::string* error = nullptr) const;
    void CopyToBitmap(CBitmap24& bitmap) const;
    // Copies one area of another surface of the same size into the same place of this one.
    void CopyArea(const CDrawDevice24& from, const SurfaceRect& area);

    void Clear(Colour colour);
    void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour,
                  bool notify = false);
    void FillRect(const SurfaceRect& r, Colour colour, bool notify = false) {
        FillRect(r.left, r.top, r.right, r.bottom, colour, notify);
    }
    void SetPixel(int32_t x, int32_t y, Colour colour);
    Colour GetPixel(int32_t x, int32_t y) const;
    void SetLineColour(Colour colour) { lineColour = colour; }
    Colour GetLineColour() const { return lineColour; }
    void DrawHLine(int32_t x1, int32_t x2, int32_t y, bool notify = false);
    void DrawVLine(int32_t x, int32_t y1, int32_t y2, bool notify = false);
    void DrawFrame(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour);
    void DrawFrame(const SurfaceRect& r, Colour colour) {
        DrawFrame(r.left, r.top, r.right, r.bottom, colour);
    }
    // Halves each channel shift times (shift 1 to 7; other values change nothing).
    void DarkenHLine(int32_t x1, int32_t x2, int32_t y, int32_t shift);
    void DarkenRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t shift,
                    bool notify = false);
    void DarkenRect(const SurfaceRect& r, int32_t shift, bool notify = false) {
        DarkenRect(r.left, r.top, r.right, r.bottom, shift, notify);
    }
    void DrawBitmap(int32_t x, int32_t y, const CBitmap24& bitmap, bool notify = false);
    void DrawBitmapPart(int32_t x, int32_t y, const CBitmap24& bitmap, int32_t sx, int32_t sy,
                        int32_t w, int32_t h, bool notify = false);
    // Leaves out source pixels equal to key; kNoTransparentColour copies every pixel.
    void DrawBitmapKeyed(int32_t x, int32_t y, const CBitmap24& bitmap, int32_t sx, int32_t sy,
                         int32_t w, int32_t h, Colour key, bool notify = false);

    // Text (DrawText.cpp). Fonts come from the table given here, by default the program's.
    void SetFontTable(CFontTable* table) { fontTable = table; }
    void SetTextCursor(int32_t x, int32_t y) {
        textX = x;
        textY = y;
    }
    int32_t GetTextCursorX() const { return textX; }
    int32_t GetTextCursorY() const { return textY; }
    void SetFont(int32_t slot);
    // A font block that is not of the font size counts as no font.
    void SetFontData(FontData font);
    const FontData& GetCurrentFont() const { return currentFont; }
    void SetProportional(bool flag);
    bool IsProportional() const { return proportional; }
    int32_t GetFixedAdvance() const { return fixedAdvance; }
    void SetTextColour(Colour colour) { textColour = colour; }
    Colour GetTextColour() const { return textColour; }
    TextSize MeasureText(std::string_view text) const;
    void DrawChar(uint8_t code, bool notify = false);
    void DrawString(std::string_view text, bool notify = false);
    void DrawText(int32_t x, int32_t y, std::string_view text, Colour colour, bool notify = false);

private:
    // Clips the copy rectangle and copies; key kNoTransparentColour copies every pixel.
    void CopyBitmapArea(int64_t x, int64_t y, const CBitmap24& bitmap, int64_t sx, int64_t sy,
                        int64_t w, int64_t h, Colour key, bool notify);

    int32_t width = 0;
    int32_t height = 0;
    SurfaceRect clip;
    DrawLog* log = nullptr;
    bool logAndDraw = false;
    std::vector<uint8_t> pixels;
    std::array<uint8_t, kBitmapInfoHeaderSize> infoHeader{};
    int32_t textX = 0;
    int32_t textY = 0;
    FontData currentFont;
    CFontTable* fontTable;
    Colour textColour = kDefaultTextColour;
    Colour lineColour = 0;
    int32_t fixedAdvance = 1;
    bool proportional = true;
};

} // namespace kx
