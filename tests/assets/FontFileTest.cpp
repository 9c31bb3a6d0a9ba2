// The baked .dxfont files: exact layout, every glyph inside its cell, one baseline and one
// left column per font, sizes that match the font names.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "graphics/FontTable.h"
#include "storage/TextCodec.h"

namespace {

constexpr size_t kFontBytes = 32264;
constexpr int kCell = 32;

const auto& kFontFiles = kx::kFontFileNames;

struct Glyph {
    int32_t left, top, width, height;
    std::array<uint32_t, kCell> rows;
};

struct Font {
    size_t fileSize = 0;
    int32_t nominalWidth = 0;
    int32_t lineHeight = 0;
    std::vector<Glyph> glyphs; // codes 32 to 255

    const Glyph& Of(unsigned char code) const { return glyphs[code - 32]; }
};

int32_t Word(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                static_cast<uint32_t>(b[at + 3]) << 24);
}

Font ReadFont(const std::string& fileName) {
    std::ifstream in(std::string(KX_ASSET_DIR) + "/" + fileName, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    Font font;
    font.fileSize = bytes.size();
    if (bytes.size() != kFontBytes)
        return font;
    font.nominalWidth = Word(bytes, 0);
    font.lineHeight = Word(bytes, 4);
    for (size_t at = 8; at < kFontBytes; at += 144) {
        Glyph g{
            Word(bytes, at), Word(bytes, at + 4), Word(bytes, at + 8), Word(bytes, at + 12), {}};
        for (int r = 0; r < kCell; ++r)
            g.rows[r] = static_cast<uint32_t>(Word(bytes, at + 16 + 4 * r));
        font.glyphs.push_back(g);
    }
    return font;
}

// Codes without ink: space, delete, no-break space and the five undefined codes.
bool IsBlank(int code) {
    return code == 0x20 || code == 0x7F || code == 0xA0 || code == 0x81 || code == 0x8D ||
           code == 0x8F || code == 0x90 || code == 0x9D;
}

bool IsFixedPitch(const std::string& name) {
    return name.starts_with("Courier") || name == "Fixedsys.dxfont" || name == "Terminal.dxfont";
}

class FontFile : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        font = ReadFont(GetParam());
        ASSERT_EQ(font.fileSize, kFontBytes) << GetParam();
    }
    Font font;
};

TEST_P(FontFile, EveryGlyphLiesInsideItsCellWithATightBox) {
    for (int code = 32; code < 256; ++code) {
        const Glyph& g = font.Of(static_cast<unsigned char>(code));
        SCOPED_TRACE("code " + std::to_string(code));
        if (IsBlank(code)) {
            EXPECT_EQ(g.width, 0);
            EXPECT_TRUE(
                std::all_of(g.rows.begin(), g.rows.end(), [](uint32_t r) { return r == 0; }));
            continue;
        }
        ASSERT_GT(g.width, 0);
        ASSERT_GT(g.height, 0);
        ASSERT_GE(g.left, 0);
        ASSERT_GE(g.top, 0);
        ASSERT_LE(g.left + g.width, kCell);
        ASSERT_LE(g.top + g.height, kCell);
        uint64_t boxColumns = ((uint64_t{1} << g.width) - 1) << g.left;
        uint32_t inkColumns = 0;
        for (int r = 0; r < kCell; ++r) {
            bool inBox = r >= g.top && r < g.top + g.height;
            EXPECT_EQ(g.rows[r] & ~(inBox ? boxColumns : 0), 0u)
                << "ink outside the box, row " << r;
            inkColumns |= g.rows[r];
        }
        // Tight: the box's first and last rows and columns carry ink.
        EXPECT_NE(g.rows[g.top], 0u);
        EXPECT_NE(g.rows[g.top + g.height - 1], 0u);
        EXPECT_NE(inkColumns & (1u << g.left), 0u);
        EXPECT_NE(inkColumns & (1u << (g.left + g.width - 1)), 0u);
    }
}

TEST_P(FontFile, GlyphsShareOneBaselineAndOneLeftColumn) {
    const int baseline = font.Of('H').top + font.Of('H').height;
    for (unsigned char c : kx::T("EFHIKLMNTXZhiklmnrxz1ÄÖÜäü")) {
        const Glyph& g = font.Of(c);
        EXPECT_EQ(g.top + g.height, baseline) << "glyph " << int{c};
    }
    for (unsigned char c : std::string("gjpqy")) {
        const Glyph& g = font.Of(c);
        EXPECT_GT(g.top + g.height, baseline) << "descender of " << c;
    }
    // Umlauts stand above their letters rather than squeezed into the letter's height.
    EXPECT_LT(font.Of(0xC4).top, font.Of('A').top);
    EXPECT_LT(font.Of(0xFC).top, font.Of('u').top);
    for (int code = 33; code < 256; ++code) {
        if (!IsBlank(code)) {
            EXPECT_EQ(font.Of(static_cast<unsigned char>(code)).left, font.Of('H').left)
                << "code " << code;
        }
    }
}

TEST_P(FontFile, NominalWidthGivesAUsableSpaceAndPitch) {
    const int32_t w = font.nominalWidth;
    const int32_t n = font.Of('n').width;
    // The word gap (space advance W / 3 + 1) is wider than a letter gap but narrower than a letter.
    EXPECT_GE(w / 3 + 1, 2);
    EXPECT_LE(w / 3 + 1, n);
    // The fixed pitch W + 1 holds an n with room to spare.
    EXPECT_GE(w + 1, n + 1);
    if (IsFixedPitch(GetParam())) {
        for (unsigned char c : std::string("0Hnaeo"))
            EXPECT_LE(font.Of(c).width, w + 1) << c;
    }
}

TEST_P(FontFile, LineHeightCoversEveryGlyph) {
    int highest = kCell, lowest = 0;
    for (const Glyph& g : font.glyphs) {
        if (g.width > 0) {
            highest = std::min(highest, g.top);
            lowest = std::max(lowest, g.top + g.height);
        }
    }
    EXPECT_GE(font.lineHeight, lowest - highest);
    EXPECT_LE(font.lineHeight, kCell);
}

// Codes 0x80 to 0x9F are where the Windows code page differs from Latin-1; a slip in the
// table shows as the wrong letter under the accent or the wrong dash.
TEST_P(FontFile, HighCodesCarryTheirWindowsCharacters) {
    const std::pair<unsigned char, char> accented[] = {
        {0x8A, 'S'}, {0x8E, 'Z'}, {0x9A, 's'}, {0x9E, 'z'}, {0x9F, 'Y'}};
    for (auto [code, base] : accented) {
        const Glyph& g = font.Of(code);
        const Glyph& b = font.Of(static_cast<unsigned char>(base));
        EXPECT_EQ(g.top + g.height, b.top + b.height) << int{code};
        EXPECT_LT(g.top, b.top) << int{code};
        EXPECT_LE(std::abs(g.width - b.width), 1) << int{code};
    }
    auto ink = [](const Glyph& g) {
        int count = 0;
        for (uint32_t row : g.rows)
            count += std::popcount(row);
        return count;
    };
    EXPECT_GT(font.Of(0x84).top, font.Of(0x93).top + 3); // low and high quotes
    EXPECT_GT(ink(font.Of(0x9C)), ink(font.Of('o')));    // oe
    if (!IsFixedPitch(GetParam())) {
        EXPECT_LT(font.Of(0x96).width, font.Of(0x97).width); // en dash, em dash
    }
}

INSTANTIATE_TEST_SUITE_P(AllSlots, FontFile, testing::ValuesIn(kFontFiles),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

TEST(FontSizes, FollowTheirNames) {
    auto capHeight = [](const char* file) { return ReadFont(file).Of('H').height; };
    int arial10 = capHeight("Arial10.dxfont");
    EXPECT_GE(arial10, 8);
    EXPECT_LE(arial10, 11);
    EXPECT_GE(capHeight("Arial20.dxfont"), 2 * arial10 - 2);
    EXPECT_GE(capHeight("Arial20b.dxfont"), 2 * arial10 - 2);
    EXPECT_LT(capHeight("Small.dxfont"), arial10);
    // Bold faces carry more ink than their regular partners.
    auto ink = [](const char* file) {
        int count = 0;
        for (const Glyph& g : ReadFont(file).glyphs)
            for (uint32_t row : g.rows)
                count += std::popcount(row);
        return count;
    };
    EXPECT_GT(ink("Arial10b.dxfont"), ink("Arial10.dxfont"));
    EXPECT_GT(ink("Courier10b.dxfont"), ink("Courier10.dxfont"));
    EXPECT_GT(ink("TimesNewRoman10b.dxfont"), ink("TimesNewRoman10.dxfont"));
}

} // namespace
