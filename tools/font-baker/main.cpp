// font-baker: bakes the game's eleven bitmap fonts from Debian's TrueType faces, and draws
// previews of baked fonts for review.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DxFont.h"
#include "FontBaker.h"
#include "Preview.h"
#include "graphics/FontTable.h"
#include "storage/TextCodec.h"

namespace kxfont {

namespace {

struct Slot {
    const char* face; // file name in the Liberation or DejaVu folder
    bool dejavu;
    int pixelSize;
    bool monospace;
    int emboldenX; // extra stroke weight in 1/64 pixel
    int emboldenY;
};

// Slot order is the game's font numbers 0 to 10, as in kFontFileNames. Point sizes as a 96-dpi
// screen gives them (10 pt = 13 px, 20 pt = 27 px); the system and terminal fonts imitate the heavy
// 8-pixel screen fonts, the small font is a 9-pixel sans.
constexpr Slot kSlots[] = {
    {"LiberationSans-Regular.ttf", false, 13, false, 0, 0},
    {"LiberationSans-Bold.ttf", false, 13, false, 0, 0},
    {"LiberationSans-Regular.ttf", false, 27, false, 0, 0},
    {"LiberationSans-Bold.ttf", false, 27, false, 0, 0},
    {"LiberationMono-Regular.ttf", false, 13, true, 0, 0},
    {"LiberationMono-Bold.ttf", false, 13, true, 0, 0},
    {"DejaVuSansMono-Bold.ttf", true, 13, true, 0, 0},
    {"DejaVuSans.ttf", true, 9, false, 0, 0},
    {"DejaVuSansMono-Bold.ttf", true, 14, true, 0, 0},
    {"LiberationSerif-Regular.ttf", false, 13, false, 0, 0},
    {"LiberationSerif-Bold.ttf", false, 13, false, 0, 0},
};
constexpr int kSlotCount = static_cast<int>(sizeof(kSlots) / sizeof(kSlots[0]));
static_assert(kSlotCount == kx::kFontSlots, "one recipe for each slot of kFontFileNames");

const char* kSample = "Nächste Ebene – Grün – Spiel beenden – ß – Ärger über Öl";
const char* kSample2 = "AQgjpqy 0123456789 ÄÖÜäöüß „€ 100“ @#%&*()[]{} Ÿ…‰";

int Usage() {
    std::fprintf(stderr,
                 "usage: font-baker bake OUTDIR [--liberation DIR] [--dejavu DIR] [--verbose]\n"
                 "       font-baker preview FONTDIR OUT.png [ZOOM [SLOT ...]]\n"
                 "       font-baker chart FONTDIR SLOT OUT.png\n");
    return 2;
}

int Bake(const std::vector<std::string>& args) {
    if (args.empty())
        return Usage();
    std::string outDir = args[0];
    std::string liberation = "/usr/share/fonts/truetype/liberation2";
    std::string dejavu = "/usr/share/fonts/truetype/dejavu";
    bool verbose = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--verbose")
            verbose = true;
        else if (args[i] == "--liberation" && i + 1 < args.size())
            liberation = args[++i];
        else if (args[i] == "--dejavu" && i + 1 < args.size())
            dejavu = args[++i];
        else
            return Usage();
    }
    for (int s = 0; s < kSlotCount; ++s) {
        const Slot& slot = kSlots[s];
        const char* fileName = kx::FontFileName(s);
        FontRecipe recipe;
        recipe.fileName = fileName;
        recipe.facePath = (slot.dejavu ? dejavu : liberation) + "/" + slot.face;
        recipe.pixelSize = slot.pixelSize;
        recipe.monospace = slot.monospace;
        recipe.emboldenX = slot.emboldenX;
        recipe.emboldenY = slot.emboldenY;
        BakeResult baked = BakeFont(recipe);
        if (!baked.ok) {
            std::fprintf(stderr, "font-baker: %s\n", baked.error.c_str());
            return 1;
        }
        if (verbose) {
            int widest = 0;
            for (const Glyph& g : baked.font.glyphs)
                widest = std::max(widest, g.width);
            std::printf("%-24s W %2d  line %2d  baseline row %2d  widest glyph %2d\n", fileName,
                        baked.font.nominalWidth, baked.font.lineHeight, baked.baselineRow, widest);
        }
        std::string path = outDir + "/" + fileName;
        if (!WriteFile(path, Serialize(baked.font))) {
            std::fprintf(stderr, "font-baker: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

bool LoadSlot(const std::string& dir, int slot, DxFont& font) {
    std::vector<uint8_t> bytes;
    std::string path = dir + "/" + kx::FontFileName(slot);
    if (!ReadFile(path, bytes) || !Deserialize(bytes, font)) {
        std::fprintf(stderr, "font-baker: %s is no font\n", path.c_str());
        return false;
    }
    return true;
}

int Preview(const std::vector<std::string>& args) {
    if (args.size() < 2)
        return Usage();
    int zoom = args.size() >= 3 ? std::atoi(args[2].c_str()) : 1;
    std::vector<DxFont> fonts(kSlotCount);
    for (int s = 0; s < kSlotCount; ++s)
        if (!LoadSlot(args[0], s, fonts[s]))
            return 1;
    std::vector<int> shown;
    for (size_t i = 3; i < args.size(); ++i) {
        int s = std::atoi(args[i].c_str());
        if (s < 0 || s >= kSlotCount)
            return Usage();
        shown.push_back(s);
    }
    if (shown.empty())
        for (int s = 0; s < kSlotCount; ++s)
            shown.push_back(s);

    const std::string sample = kx::Cp1252FromUtf8(kSample);
    const std::string legend = "white: proportional, yellow: fixed pitch (W + 1)";
    const int margin = 8, textX = 144;
    auto baseline = [&](int s) { return fonts[s].GlyphOf('H').top + fonts[s].GlyphOf('H').height; };
    auto rowHeight = [&](int s) { return std::max(fonts[s].lineHeight, 26) + 8; };
    int width = TextWidth(fonts[7], legend), height = 2 * margin + 14;
    for (int s : shown) {
        width = std::max(width, TextWidth(fonts[s], sample, true));
        if (kSlots[s].monospace)
            width = std::max(width, TextWidth(fonts[s], sample, false));
        height += rowHeight(s) + (kSlots[s].monospace ? fonts[s].lineHeight + 2 : 0);
    }
    CCanvas canvas(textX + width + margin, height, 0x101828);
    int y = margin;
    for (int s : shown) {
        char name[8];
        std::snprintf(name, sizeof name, "F%02d", s);
        std::string file = kx::FontFileName(s);
        file = file.substr(0, file.find('.'));
        // The label sits on the sample's baseline, the file name below it.
        int labelY = y + baseline(s) - baseline(1);
        DrawText(canvas, fonts[1], margin, labelY, name, 0x8090A0);
        DrawText(canvas, fonts[7], margin + 30, labelY + baseline(1) - baseline(7), file, 0x708090);
        DrawText(canvas, fonts[s], textX, y, sample, 0xFFFFFF);
        if (kSlots[s].monospace) {
            y += fonts[s].lineHeight + 2;
            DrawText(canvas, fonts[s], textX, y, sample, 0xFFE060, false);
        }
        y += rowHeight(s);
    }
    DrawText(canvas, fonts[7], textX, y, legend, 0x8090A0);
    if (!canvas.WritePng(args[1], zoom)) {
        std::fprintf(stderr, "font-baker: cannot write %s\n", args[1].c_str());
        return 1;
    }
    return 0;
}

// Every glyph in its 32 x 32 cell, cells outlined, with the baseline marked: for finding
// glyphs that touch the cell's edges.
int Chart(const std::vector<std::string>& args) {
    if (args.size() != 3)
        return Usage();
    int slot = std::atoi(args[1].c_str());
    DxFont font;
    if (slot < 0 || slot >= kSlotCount || !LoadSlot(args[0], slot, font))
        return 1;
    const int pitch = kCellSize + 2;
    CCanvas canvas(16 * pitch + 2, 14 * pitch + 2 + 60, 0x000000);
    for (int i = 0; i < kGlyphCount; ++i) {
        int cx = 1 + (i % 16) * pitch, cy = 1 + (i / 16) * pitch;
        canvas.FillRect(cx, cy, cx + kCellSize, cy + kCellSize, 0x283040);
        const Glyph& g = font.glyphs[i];
        if (g.width > 0)
            canvas.FillRect(cx + g.left, cy + g.top, cx + g.left + g.width, cy + g.top + g.height,
                            0x405060);
        for (int r = 0; r < kCellSize; ++r)
            for (int j = 0; j < kCellSize; ++j)
                if (g.rows[r] & (1u << j))
                    canvas.SetPixel(cx + j, cy + r, 0xFFFFFF);
    }
    int y = 14 * pitch + 6;
    DrawText(canvas, font, 4, y, kx::Cp1252FromUtf8(kSample), 0xFFFFFF);
    DrawText(canvas, font, 4, y + 28, kx::Cp1252FromUtf8(kSample2), 0xFFFFFF);
    if (!canvas.WritePng(args[2]))
        return 1;
    return 0;
}

} // namespace
} // namespace kxfont

int main(int argc, char** argv) {
    if (argc < 2)
        return kxfont::Usage();
    std::vector<std::string> args(argv + 2, argv + argc);
    if (std::strcmp(argv[1], "bake") == 0)
        return kxfont::Bake(args);
    if (std::strcmp(argv[1], "preview") == 0)
        return kxfont::Preview(args);
    if (std::strcmp(argv[1], "chart") == 0)
        return kxfont::Chart(args);
    return kxfont::Usage();
}
