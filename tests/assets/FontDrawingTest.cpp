// The baked fonts as the game uses them: loaded from the built archive into the font table and
// drawn with CDrawDevice24, German words come out whole.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace {

class GameFonts : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_THROW(archive.LoadArchiveFile(std::string(KX_OUTPUT_DIR) + "/Krawlix.bfres"));
        // Only the archive counts here, not loose files that happen to lie about.
        table.SetSearchBase("/nonexistent");
        std::string error;
        ASSERT_TRUE(table.LoadFontsNoThrow(&archive, &error)) << error;
    }
    kx::CResourceArchive archive;
    kx::CFontTable table;
};

TEST_F(GameFonts, EverySlotLoadsFromTheArchive) {
    for (int slot = 0; slot < kx::kFontSlots; ++slot) {
        kx::FontData font = table.GetFont(slot);
        ASSERT_NE(font, nullptr) << slot;
        EXPECT_EQ(font->size(), kx::kFontBlockSize) << slot;
    }
}

// Proportional glyphs stand one column apart, so every inked pixel of every glyph must reach
// the surface, inside the box MeasureText gives: nothing overlaps, nothing is cut at a cell edge.
TEST_F(GameFonts, GermanTextDrawsEveryPixelInsideItsMeasure) {
    const std::string texts[] = {kx::T("Nächste Ebene"), kx::T("Grün"), kx::T("Spiel beenden"),
                                 kx::T("ß"), kx::T("Ärger über Öl – gjpqy")};
    const kx::Colour ink = 0xFFFFFF;
    for (int slot = 0; slot < kx::kFontSlots; ++slot) {
        for (const std::string& text : texts) {
            SCOPED_TRACE("slot " + std::to_string(slot) + ": " + kx::Utf8FromCp1252(text));
            kx::CDrawDevice24 surface;
            ASSERT_TRUE(surface.Create(480, 64));
            surface.Clear(0);
            surface.SetFontTable(&table);
            surface.SetFont(slot);
            const kx::TextSize size = surface.MeasureText(text);
            surface.DrawText(10, 10, text, ink);

            int expected = 0;
            for (char c : text) {
                kx::Glyph g = kx::FontGlyph(*table.GetFont(slot), static_cast<uint8_t>(c));
                for (int r = 0; r < kx::kGlyphCell; ++r)
                    expected += std::popcount(g.Row(r));
            }
            int inside = 0, outside = 0;
            for (int y = 0; y < surface.GetHeight(); ++y) {
                for (int x = 0; x < surface.GetWidth(); ++x) {
                    if (surface.GetPixel(x, y) != ink)
                        continue;
                    bool in = x >= 10 && x < 10 + size.width && y >= 10 && y < 10 + size.height;
                    ++(in ? inside : outside);
                }
            }
            EXPECT_GT(expected, 0);
            EXPECT_EQ(inside, expected);
            EXPECT_EQ(outside, 0);
        }
    }
}

} // namespace
