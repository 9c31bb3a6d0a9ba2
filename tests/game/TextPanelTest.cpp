// Tests of the text panel: splitting, and every kind of tag drawn pixel for pixel against the
// same runs and icons laid out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellWorld.h"
#include "game/GameResources.h"
#include "game/GameTexts.h"
#include "game/TextPanel.h"
#include "graphics/FontTable.h"
#include "storage/ResourceArchive.h"
#include "storage/TextCodec.h"

namespace {

using kx::Colour;
using kx::CTextPanel;

TEST(TextPanelSplitting, CrLfBecomesOneBreakAndOnlyTheWholeTextIsTrimmed) {
    CTextPanel panel;
    panel.SetText("\r\n  first \r\n\r\n  third\n\t\n ");
    EXPECT_EQ(panel.GetLines(), (std::vector<std::string>{"first ", "", "  third"}));
    panel.Show();
    EXPECT_TRUE(panel.IsVisible());
}

TEST(TextPanelSplitting, BlanksAndLineFeedsAloneGiveNoLinesAndNoPanel) {
    CTextPanel panel;
    panel.SetText(" \n\r\n \t ");
    EXPECT_TRUE(panel.GetLines().empty());
    panel.Show();
    EXPECT_FALSE(panel.IsVisible());
}

TEST(TextPanelSplitting, TheControlsHelpNamesEveryKeyOfTheWindow) {
    CTextPanel panel;
    panel.SetText(kx::ControlsHelpText());
    const auto& lines = panel.GetLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "/CAPTION/Hilfe zur Steuerung");
    std::string keys;
    for (const std::string& line : lines) {
        for (size_t at = line.find("/KEY/"); at != std::string::npos;
             at = line.find("/KEY/", at + 1))
            keys += "|" + kx::Utf8FromCp1252(line.substr(at + 5, line.find('/', at + 5) - at - 5));
    }
    keys += "|";
    for (const char* key :
         {"Cursor-Tasten", "TAB", "R", "Rücktaste", "H", "Enter", "Leertaste", "ESC", "Bild auf",
          "Bild ab", "Pos1", "Ende", "F1", "M", "F11", "Strg+Plus", "Strg+Minus"})
        EXPECT_NE(keys.find("|" + std::string(key) + "|"), std::string::npos) << key;
}

// One piece of a line as the reference lays it out: a run in a font and colour, or an icon.
struct Piece {
    std::string text; // empty: an icon
    int32_t font = 9;
    Colour colour = 0xFFFFFF;
    int32_t sprite = -1;
    bool opaque = false;
};

class TextPanelDrawing : public ::testing::Test {
protected:
    // The real archive's fonts and sprite sheets, loaded once for every test.
    struct Shared {
        Shared() : sprites(archive) {
            archive.LoadArchiveFile(kxtest::kArchivePath);
            fonts.LoadFonts(&archive);
            loaded = sprites.LoadSpriteSheets();
        }
        kx::CResourceArchive archive;
        kx::CFontTable fonts;
        kx::CGameResources sprites;
        bool loaded = false;
    };
    static Shared& Resources() {
        static Shared shared;
        return shared;
    }

    void SetUp() override {
        ASSERT_TRUE(Resources().loaded);
        fonts = &Resources().fonts;
        sprites = &Resources().sprites;
    }

    void Fresh(kx::CDrawDevice24& surface) {
        surface.SetFontTable(fonts);
        ASSERT_TRUE(surface.Create(kW, kH));
        // A pattern, so that darkening and transparency show.
        for (int32_t y = 0; y < kH; ++y)
            for (int32_t x = 0; x < kW; ++x)
                surface.SetPixel(x, y, ((x / 3 + y / 5) % 2) ? 0x8040C0 : 0x40C080);
    }

    const kx::CImageList24& Sheet(bool opaque) {
        return opaque ? sprites->GetOpaqueSprites() : sprites->GetTransparentSprites();
    }

    // Visible bounds of a transparent sprite, found from its pixels.
    kx::SurfaceRect Bounds(int32_t sprite) {
        kx::SurfaceRect b{32, 32, -1, -1};
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 32; ++x)
                if (!Sheet(false).IsTransparentAt(x, y, sprite))
                    b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x),
                         std::max(b.bottom, y)};
        return b.right < 0 ? kx::SurfaceRect{0, 0, 0, 0} : b;
    }

    // The panel of lines made of these pieces, laid out by hand.
    void Reference(kx::CDrawDevice24& s, const std::vector<std::vector<Piece>>& lines) {
        Fresh(s);
        std::vector<int32_t> widths, heights;
        for (const auto& line : lines) {
            int32_t w = 0, h = 8;
            for (const Piece& p : line) {
                if (p.text.empty()) {
                    kx::SurfaceRect b = p.opaque ? kx::SurfaceRect{0, 0, 31, 31} : Bounds(p.sprite);
                    w += b.right - b.left + 1;
                    h = std::max(h, b.bottom - b.top + 1);
                } else {
                    s.SetFont(p.font);
                    kx::TextSize size = s.MeasureText(p.text);
                    w += size.width;
                    h = std::max(h, size.height);
                }
            }
            widths.push_back(w);
            heights.push_back(h + 4);
        }
        int32_t maxWidth = *std::max_element(widths.begin(), widths.end());
        int32_t total = 0;
        for (int32_t h : heights)
            total += h;
        int32_t x0 = (kW - maxWidth) / 2;
        int32_t y = (kH - total) / 2;
        s.DarkenRect(x0 - 8, y - 6, x0 + maxWidth + 8, y + total + 6, 2);
        s.DrawFrame(x0 - 8, y - 6, x0 + maxWidth + 8, y + total + 6, 0xC0C0C0);
        s.DrawFrame(x0 - 9, y - 7, x0 + maxWidth + 9, y + total + 7, 0x000000);
        for (size_t i = 0; i < lines.size(); ++i) {
            int32_t x = x0;
            for (const Piece& p : lines[i]) {
                if (p.text.empty()) {
                    kx::SurfaceRect b = p.opaque ? kx::SurfaceRect{0, 0, 31, 31} : Bounds(p.sprite);
                    int32_t h = b.bottom - b.top + 1;
                    int32_t top = y + (heights[i] - h) / 2 - b.top;
                    if (p.opaque)
                        Sheet(true).DrawCellOpaque(s, x - b.left, top, p.sprite);
                    else
                        Sheet(false).DrawCell(s, x - b.left, top, p.sprite);
                    x += b.right - b.left + 1;
                } else {
                    s.SetFont(p.font);
                    kx::TextSize size = s.MeasureText(p.text);
                    s.DrawText(x, y + (heights[i] - size.height) / 2, p.text, p.colour);
                    x += size.width;
                }
            }
            y += heights[i];
        }
    }

    void ExpectSame(const std::string& markup, const std::vector<std::vector<Piece>>& lines) {
        kx::CDrawDevice24 actual, expected;
        Fresh(actual);
        CTextPanel panel;
        panel.SetText(markup);
        panel.Show();
        panel.Draw(actual, Sheet(true), Sheet(false));
        Reference(expected, lines);
        int differing = 0;
        for (int32_t y = 0; y < kH; ++y)
            for (int32_t x = 0; x < kW; ++x)
                differing += actual.GetPixel(x, y) != expected.GetPixel(x, y);
        EXPECT_EQ(differing, 0) << markup;
    }

    static constexpr int32_t kW = 300;
    static constexpr int32_t kH = 120;
    kx::CFontTable* fonts = nullptr;
    kx::CGameResources* sprites = nullptr;
};

TEST_F(TextPanelDrawing, KeyColoursTheKeyGreenAndTextReturnsToWhite) {
    ExpectSame("/KEY/TAB-Taste/TEXT/ gewechselt werden.",
               {{{"TAB-Taste", 9, 0x00FF00}, {" gewechselt werden.", 9, 0xFFFFFF}}});
}

TEST_F(TextPanelDrawing, StyleTagsSetFontAndColourAndFontTagsKeepTheColour) {
    ExpectSame("/caption/Big/FA10/small/LINK/link/FC10B/mono", {{{"Big", 3, 0xFFFF00},
                                                                 {"small", 0, 0xFFFF00},
                                                                 {"link", 9, 0x8080FF},
                                                                 {"mono", 5, 0x8080FF}}});
    ExpectSame("/f0/a/FA10B/b/FA20/c/FA20B/d/FFIX/e/FTERM/f/FC10/g/FT10/h/FT10B/i", {{{"a", 7},
                                                                                      {"b", 1},
                                                                                      {"c", 2},
                                                                                      {"d", 3},
                                                                                      {"e", 6},
                                                                                      {"f", 8},
                                                                                      {"g", 4},
                                                                                      {"h", 9},
                                                                                      {"i", 10}}});
    ExpectSame("/HALVANE/ x", {{{"www.halvane.example", 7, 0xC0C0C0}, {" x", 7, 0xC0C0C0}}});
}

TEST_F(TextPanelDrawing, TwoSlashesWriteOneAndUnknownTagsAreShownAsWritten) {
    ExpectSame("a//b", {{{"a/b"}}});
    ExpectSame("x/cron.5/y", {{{"x"}, {"/cron.5/"}, {"y"}}});
}

TEST_F(TextPanelDrawing, HashTagsSetTheColourFromTheirHexDigits) {
    ExpectSame("/#FF0000/red/#/black/#zz0g0F/blue",
               {{{"red", 9, 0xFF0000}, {"black", 9, 0x000000}, {"blue", 9, 0x00000F}}});
}

TEST_F(TextPanelDrawing, IconsComeFromTheirSheetAndParametersAreClamped) {
    ExpectSame("/corn/ /water/ /switch.3/",
               {{{"", 9, 0, 128}, {" "}, {"", 9, 0, 65, true}, {" "}, {"", 9, 0, 35}}});
    ExpectSame("/switch.-5//blockghost. +2x/", {{{"", 9, 0, 32}, {"", 9, 0, 58}}});
    ExpectSame("/switch.99999/", {{{"", 9, 0, 32 + 4095}}});
}

TEST_F(TextPanelDrawing, ALineEndingInsideATagStillAppliesIt) {
    ExpectSame("text/KEY\nnext", {{{"text"}}, {{"next"}}});
}

TEST_F(TextPanelDrawing, FontsAndColoursDoNotCarryOverToTheNextLine) {
    ExpectSame("/FA20B//#FF0000/one\ntwo\n\nfour",
               {{{"one", 3, 0xFF0000}}, {{"two"}}, {}, {{"four"}}});
}

TEST_F(TextPanelDrawing, ABoxWiderThanTheSurfaceIsClippedNotACrash) {
    kx::CDrawDevice24 tiny;
    tiny.SetFontTable(fonts);
    ASSERT_TRUE(tiny.Create(3, 2));
    CTextPanel panel;
    panel.SetText(std::string(5000, 'W') + "\n/switch.4095/" + std::string(3000, '/'));
    panel.Show();
    panel.Draw(tiny, Sheet(true), Sheet(false));
    EXPECT_EQ(tiny.GetPixel(0, 0), 0x000000u);
}

} // namespace
