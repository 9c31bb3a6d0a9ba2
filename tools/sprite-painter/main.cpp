// sprite-painter: paints the game's two sprite sheets, imgfull.bmp and imgtrans.bmp.
#include "Palette.h"
#include "Sheet.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Keyed transparency has no partial alpha: a colour close to the key would show as a
// magenta fringe, so the painter refuses to write one.
int CountNearKey(const sp::CCanvas& c) {
    int bad = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            sp::Colour col = c.Get(x, y);
            int d = std::abs(sp::Red(col) - 255) + sp::Green(col) + std::abs(sp::Blue(col) - 255);
            if (col != sp::KEY && d <= 96) {
                if (bad < 10)
                    std::fprintf(stderr, "near-key colour %06X at cell %d (%d, %d)\n", col,
                                 (y / 32) * 16 + x / 32, x % 32, y % 32);
                ++bad;
            }
        }
    return bad;
}

// Each ground tile three by three, and the wall bars of every style, to check for seams.
sp::CCanvas TilingPreview(const sp::CSheet& full) {
    sp::CCanvas c(8 * 100, 4 * 100 + 5 * 36, 0x101018);
    for (int i = 0; i < 24; ++i)
        for (int ty = 0; ty < 3; ++ty)
            for (int tx = 0; tx < 3; ++tx)
                c.Blit(full.Cell(64 + i), (i % 8) * 100 + tx * 32, (i / 8) * 100 + ty * 32);
    for (int s = 0; s < 5; ++s) {
        const int y = 400 + s * 36, b = 8 * s;
        const int row[] = {b + 1, b + 2, b + 2, b + 3, -1, b + 0, b + 7, -1, b + 4, b + 5, b + 6};
        for (int i = 0; i < 11; ++i)
            if (row[i] >= 0)
                c.Blit(full.Cell(row[i]), i * 32, y);
        // a column of this style, drawn across the rows to the right
        c.Blit(full.Cell(b + 4), 400 + s * 64, 400);
        c.Blit(full.Cell(b + 5), 400 + s * 64, 432);
        c.Blit(full.Cell(b + 5), 400 + s * 64, 464);
        c.Blit(full.Cell(b + 6), 400 + s * 64, 496);
        c.Blit(full.Cell(64), 432 + s * 64, 432);
    }
    return c;
}

// The chosen sprites at three times their size on the checkerboard, plain ground, ice, grass
// and the dark sky, one row per background.
sp::CCanvas ShowPreview(const sp::CSheet& full, const sp::CSheet& trans, const std::string& list) {
    std::vector<int> ids;
    for (std::size_t p = 0; p < list.size();) {
        std::size_t q = list.find(',', p);
        ids.push_back(std::atoi(list.substr(p, q - p).c_str()));
        p = q == std::string::npos ? list.size() : q + 1;
    }
    const int grounds[] = {-1, 64, 66, 67, -2};
    sp::CCanvas c(static_cast<int>(ids.size()) * 50, 5 * 50, 0x101018);
    for (std::size_t i = 0; i < ids.size(); ++i)
        for (int g = 0; g < 5; ++g) {
            sp::CCanvas cell =
                grounds[g] >= 0 ? full.Cell(grounds[g]) : sp::CCanvas(32, 32, 0x0A0A18);
            if (grounds[g] == -1)
                for (int y = 0; y < 32; ++y)
                    for (int x = 0; x < 32; ++x)
                        cell.Set(x, y, ((x / 4 + y / 4) & 1) ? 0x9A9A9A : 0x6A6A6A);
            cell.Blit(trans.Cell(ids[i]), 0, 0, true);
            c.Blit(cell, static_cast<int>(i) * 50, g * 50);
        }
    return c;
}

// A small scene: a worm, a ghost and items on several floors, to judge the sprites together.
sp::CCanvas ScenePreview(const sp::CSheet& full, const sp::CSheet& trans) {
    const int w = 10, h = 6;
    // ground, then one sprite (or -1) per cell
    const int ground[h][w] = {
        {1, 2, 2, 2, 2, 2, 2, 2, 2, 3},           {64, 64, 64, 67, 67, 67, 65, 65, 66, 66},
        {64, 64, 64, 67, 67, 67, 65, 65, 66, 66}, {70, 70, 70, 68, 68, 68, 69, 69, 66, 66},
        {70, 70, 70, 68, 68, 68, 69, 69, 64, 64}, {25, 26, 26, 26, 26, 26, 26, 26, 26, 27}};
    const int sprite[h][w] = {{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
                              {146, 146, 146, 146, 149, -1, 144, -1, 128, -1},
                              {146, -1, -1, -1, -1, -1, -1, -1, 1, 146},
                              {146, 146, 147, -1, 145, -1, 134, -1, 146, 146},
                              {-1, -1, 129, -1, 3, 130, -1, 135, 148, -1},
                              {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1}};
    sp::CCanvas c(w * 32, h * 32, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            c.Blit(full.Cell(ground[y][x]), x * 32, y * 32);
            if (sprite[y][x] >= 0)
                c.Blit(trans.Cell(sprite[y][x]), x * 32, y * 32, true);
        }
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sprite-painter OUTDIR [--png]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool png = argc > 2 && std::string(argv[2]) == "--png";

    sp::CSheet full(8, sp::pal::DARK_TILE);
    sp::PaintFloors(full);
    sp::PaintWalls(full);
    sp::PaintEditorTiles(full);

    sp::CSheet trans(16, sp::KEY);
    sp::PaintMarkings(trans);
    sp::PaintObjects(trans);
    sp::PaintSwitches(trans);
    sp::PaintItems(trans);
    sp::PaintCreatures(trans);
    sp::PaintAnimations(trans);
    sp::PaintInterface(trans);

    if (CountNearKey(trans.Canvas()) > 0)
        return 1;
    bool ok = sp::WriteBmp(full.Canvas(), dir + "/imgfull.bmp") &&
              sp::WriteBmp(trans.Canvas(), dir + "/imgtrans.bmp");
    if (ok && png)
        ok = sp::WritePreviewPng(full.Canvas(), dir + "/imgfull-preview.png", false) &&
             sp::WritePreviewPng(trans.Canvas(), dir + "/imgtrans-preview.png", true) &&
             sp::WritePreviewPng(TilingPreview(full), dir + "/tiling-preview.png", false, false) &&
             sp::WritePreviewPng(ScenePreview(full, trans), dir + "/scene-preview.png", false,
                                 false);
    if (ok && argc > 3 && std::string(argv[2]) == "--show")
        ok =
            sp::WritePreviewPng(ShowPreview(full, trans, argv[3]), dir + "/show.png", false, false);
    if (!ok) {
        std::fprintf(stderr, "sprite-painter: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
