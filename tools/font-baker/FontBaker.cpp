// FreeType rendering of the Windows-1252 glyphs, placed on one baseline and one left column.
#include "FontBaker.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "storage/TextCodec.h"

namespace kxfont {

namespace {

struct LibraryCloser {
    void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

// Ink of one glyph relative to the pen: x from the origin, y from the baseline downwards
// (y = -1 is the row sitting on the baseline).
struct Ink {
    std::vector<std::pair<int, int>> pixels;
    int advance = 0;
    int minX = 0, maxX = -1, minY = 0, maxY = -1;
    bool Empty() const { return pixels.empty(); }
};

// Spaces, the delete control and the undefined codes have no ink.
bool IsBlankCode(int code) {
    return code == 0x20 || code == 0x7F || code == 0xA0 ||
           kx::UnicodeFromCp1252(static_cast<uint8_t>(code)) == kx::kCp1252Undefined;
}

int Round26(FT_Pos v) {
    return static_cast<int>((v + 32) >> 6);
}

std::string RenderInk(FT_Face face, const FontRecipe& recipe, char32_t ch, Ink& ink) {
    FT_UInt index = FT_Get_Char_Index(face, ch);
    if (index == 0)
        return "no glyph for U+" + std::to_string(static_cast<unsigned>(ch));
    // Hinting for the monochrome target, then (for the heavy fonts) a thicker outline,
    // then the 1-bit rasteriser.
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0)
        return "cannot load glyph";
    FT_GlyphSlot slot = face->glyph;
    if ((recipe.emboldenX > 0 || recipe.emboldenY > 0) && slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_EmboldenXY(&slot->outline, recipe.emboldenX, recipe.emboldenY);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return "cannot render glyph";
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO)
        return "rasteriser gave no 1-bit bitmap";
    ink = Ink{};
    ink.advance = Round26(slot->advance.x);
    for (unsigned r = 0; r < bm.rows; ++r) {
        const unsigned char* row =
            bm.pitch >= 0 ? bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch
                          : bm.buffer + static_cast<ptrdiff_t>(bm.rows - 1 - r) * -bm.pitch;
        for (unsigned c = 0; c < bm.width; ++c) {
            if (row[c / 8] & (0x80 >> (c % 8))) {
                int x = slot->bitmap_left + static_cast<int>(c);
                int y = static_cast<int>(r) - slot->bitmap_top;
                if (ink.pixels.empty()) {
                    ink.minX = ink.maxX = x;
                    ink.minY = ink.maxY = y;
                }
                ink.minX = std::min(ink.minX, x);
                ink.maxX = std::max(ink.maxX, x);
                ink.minY = std::min(ink.minY, y);
                ink.maxY = std::max(ink.maxY, y);
                ink.pixels.emplace_back(x, y);
            }
        }
    }
    return {};
}

int AdvanceOf(FT_Face face, char32_t ch) {
    if (FT_Load_Char(face, ch, FT_LOAD_TARGET_MONO) != 0)
        return 0;
    return Round26(face->glyph->advance.x);
}

// Fixed fonts keep their own pitch as W + 1. Proportional fonts take W so that the gap of a
// space, W / 3 + 2 columns between the inks, is the face's space plus about one bearing; within
// the three W that give it, the one nearest the average letter advance keeps fixed mode usable.
int NominalWidth(FT_Face face, const FontRecipe& recipe, const std::vector<Ink>& inks) {
    if (recipe.monospace)
        return std::max(1, AdvanceOf(face, U'0') - 1);
    int space = std::max(2, AdvanceOf(face, U' '));
    int low = 3 * (space - 1);
    int sum = 0, count = 0;
    for (int code = '0'; code <= 'z'; ++code) {
        bool alnum = (code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a');
        if (alnum && !inks[code - kFirstCode].Empty()) {
            sum += inks[code - kFirstCode].advance;
            ++count;
        }
    }
    int average = count > 0 ? (sum + count / 2) / count : low;
    return std::clamp(average, low, low + 2);
}

} // namespace

BakeResult BakeFont(const FontRecipe& recipe) {
    BakeResult result;
    FT_Library rawLib = nullptr;
    if (FT_Init_FreeType(&rawLib) != 0) {
        result.error = "FreeType does not start";
        return result;
    }
    LibraryPtr lib(rawLib);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(lib.get(), recipe.facePath.c_str(), 0, &rawFace) != 0) {
        result.error = "cannot open " + recipe.facePath;
        return result;
    }
    FacePtr face(rawFace);
    if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(recipe.pixelSize)) != 0) {
        result.error = "cannot set the size";
        return result;
    }

    std::vector<Ink> inks(kGlyphCount);
    for (int code = kFirstCode; code < 256; ++code) {
        if (IsBlankCode(code))
            continue;
        char32_t ch = kx::UnicodeFromCp1252(static_cast<uint8_t>(code));
        Ink& ink = inks[code - kFirstCode];
        std::string error = RenderInk(face.get(), recipe, ch, ink);
        // A soft hyphen that the face leaves blank is shown as the hyphen it stands for.
        if (error.empty() && ink.Empty() && code == 0xAD)
            error = RenderInk(face.get(), recipe, U'-', ink);
        if (error.empty() && ink.Empty())
            error = "empty glyph";
        if (!error.empty()) {
            result.error = recipe.fileName + ": code " + std::to_string(code) + ": " + error;
            return result;
        }
    }

    // One baseline for the whole font: room for the face's ascent and for the tallest ink.
    const FT_Size_Metrics& m = face->size->metrics;
    int ascent = Round26(m.ascender);
    int descent = Round26(-m.descender);
    for (const Ink& ink : inks) {
        if (!ink.Empty()) {
            ascent = std::max(ascent, -ink.minY);
            descent = std::max(descent, ink.maxY + 1);
        }
    }
    if (ascent + descent > kCellSize) {
        result.error =
            recipe.fileName + ": " + std::to_string(ascent + descent) + " rows do not fit the cell";
        return result;
    }

    DxFont& font = result.font;
    font.lineHeight = ascent + descent;
    font.nominalWidth = NominalWidth(face.get(), recipe, inks);
    result.baselineRow = ascent - 1;
    for (int i = 0; i < kGlyphCount; ++i) {
        Glyph& g = font.glyphs[i];
        g.left = recipe.leftColumn;
        const Ink& ink = inks[i];
        if (ink.Empty())
            continue;
        g.width = ink.maxX - ink.minX + 1;
        g.top = ascent + ink.minY;
        g.height = ink.maxY - ink.minY + 1;
        if (g.left + g.width > kCellSize) {
            result.error = recipe.fileName + ": code " + std::to_string(i + kFirstCode) + " is " +
                           std::to_string(g.width) + " columns wide";
            return result;
        }
        for (auto [x, y] : ink.pixels)
            g.rows[ascent + y] |= 1u << (g.left + x - ink.minX);
    }
    result.ok = true;
    return result;
}

} // namespace kxfont
