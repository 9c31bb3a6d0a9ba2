// The in-memory form of one .dxfont bitmap font and its exact 32,264-byte file layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kxfont {

constexpr int kFirstCode = 32;
constexpr int kGlyphCount = 224;
constexpr int kCellSize = 32;
constexpr size_t kGlyphBytes = 144;
constexpr size_t kFontBytes = 8 + kGlyphCount * kGlyphBytes;
static_assert(kFontBytes == 32264);

struct Glyph {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0; // 0 for an empty glyph
    int32_t height = 0;
    std::array<uint32_t, kCellSize> rows{}; // bit j = column j
};

struct DxFont {
    int32_t nominalWidth = 0; // W: the fixed advance is W + 1, the proportional space W / 3 + 1
    int32_t lineHeight = 0;   // ascent + descent in pixels; the game does not read it
    std::array<Glyph, kGlyphCount> glyphs{};

    const Glyph& GlyphOf(uint8_t code) const {
        return glyphs[code < kFirstCode ? 0 : code - kFirstCode];
    }
};

std::vector<uint8_t> Serialize(const DxFont& font);
// Returns false for a block of the wrong size.
bool Deserialize(const std::vector<uint8_t>& bytes, DxFont& font);

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes);

} // namespace kxfont
