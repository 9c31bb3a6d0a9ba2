// Pictures of the shells: menu arrows (230, 231), editor markers (248, 249, 251), the corn
// counter (252-254), and the editor's tiles 126 and 127 of the opaque sheet.
#include "Palette.h"
#include "Sheet.h"

#include <cmath>

namespace sp {
namespace {

CCanvas MenuArrow(bool up) {
    CCanvas c = CSheet::NewCell();
    Shape tri = up ? Polygon({{16, 7}, {28, 24}, {4, 24}}) : Polygon({{4, 8}, {28, 8}, {16, 25}});
    Bevel(c, CMask(tri), pal::WHITE, 1);
    Outline(c);
    return c;
}

// Top-left quarter: a red no-entry sign.
CCanvas NoWorms() {
    CCanvas c = CSheet::NewCell();
    CMask sign(Circle(8, 8, 6.5));
    Sphere(c, sign, pal::RED, 8, 8, 6.5, 6.5);
    Fill(c, CMask(Box(3.5, 6.5, 12.5, 9.5)), 0xFFFFFF);
    Outline(c);
    return c;
}

// Bottom-right quarter: a small blue ghost, struck through.
CCanvas NoGhosts() {
    CCanvas c = CSheet::NewCell();
    DrawGhostFigure(c, pal::MARKED, 24, 24, 0.55);
    CMask bar(Segment(17.5, 30, 30, 17.5, 1.1));
    Fill(c, bar.Grown(), OUTLINE);
    Fill(c, bar, pal::RED.light);
    Outline(c);
    return c;
}

// A dashed yellow frame along the cell's edge, dark inside so it shows on light floors.
CCanvas RectangleMarker() {
    CCanvas c = CSheet::NewCell();
    for (int i = 0; i < CELL; ++i) {
        bool dash = (i / 4) % 2 == 0;
        Colour col = dash ? pal::YELLOW.light : OUTLINE;
        for (int w = 0; w < 2; ++w) {
            c.Set(i, w, col);
            c.Set(i, CELL - 1 - w, col);
            c.Set(w, i, col);
            c.Set(CELL - 1 - w, i, col);
        }
    }
    return c;
}

// The corn counter's icons stand on one baseline (their lowest row is BASE) and start at
// the cell's left edge, because the counter draws them 25, 19 and 11 pixels apart.
constexpr int BASE = 29;

CCanvas Sack() {
    CCanvas c = CSheet::NewCell();
    const Ramp cloth{0x7A5A30, 0xB08850, 0xC8A068, 0xE0C090};
    CMask body(Union(Ellipse(12, 21, 11, 7.9), RoundBox(3, 12, 21, 24, 4)));
    Bevel(c, body, cloth, 2);
    CMask neck(Polygon({{8, 12.5}, {16, 12.5}, {18, 7}, {6, 7}}));
    Bevel(c, neck, cloth, 1);
    for (int x = 7; x <= 17; ++x)
        c.Set(x, 12, pal::ORANGE.shade); // the string
    // kernels spilling out of the open top
    const double kernels[][2] = {{8, 5}, {12, 4}, {16, 5}, {10, 7}, {14, 7}};
    for (auto& k : kernels)
        Sphere(c, CMask(Circle(k[0], k[1], 2.2)), pal::CORN, k[0], k[1], 2.2, 2.2);
    // a corn mark on the cloth
    DrawKernel(c, pal::CORN, 12, 21, 0.5);
    Outline(c);
    return c;
}

CCanvas Cob() {
    CCanvas c = CSheet::NewCell();
    const Ramp husk{0x3A6A20, 0x5A9A30, 0x80C050, 0xB0E080};
    CMask cob(Ellipse(9, 15, 4.4, 12));
    Sphere(c, cob, pal::CORN, 9, 15, 4.4, 12);
    for (int y = 5; y < 27; y += 3)
        for (int x = 5; x < 14; ++x)
            if (cob.At(x, y) && cob.At(x, y - 1))
                c.Set(x, y, pal::CORN.shade);
    for (int x : {7, 10})
        for (int y = 4; y < 27; ++y)
            if (cob.At(x, y) && y % 3 != 0)
                c.Set(x, y, Mix(c.Get(x, y), pal::CORN.shade, 0.5));
    CMask left(Polygon({{1, 14}, {6, 20}, {8, 28}, {4, 28}}));
    CMask right(Polygon({{16.5, 12}, {12, 20}, {10, 28}, {14, 28}}));
    Bevel(c, left, husk, 1);
    Bevel(c, right, husk, 1);
    Outline(c);
    return c;
}

CCanvas Kernel() {
    CCanvas c = CSheet::NewCell();
    DrawKernel(c, pal::CORN, 4.5, 23.5, 0.55);
    Outline(c);
    return c;
}

// Shifts a sprite so that its ink starts at column 0 and its lowest ink row is BASE.
CCanvas Seat(const CCanvas& src) {
    int minX = CELL, maxY = -1;
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x)
            if (src.Get(x, y) != KEY) {
                minX = std::min(minX, x);
                maxY = std::max(maxY, y);
            }
    CCanvas c = CSheet::NewCell();
    c.Blit(src, -minX, BASE - maxY);
    return c;
}

CCanvas Hatched(Colour a, Colour b, int period, bool cross) {
    CCanvas c(CELL, CELL);
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x) {
            bool line = (x + y) % period < 2 || (cross && (x - y + CELL) % period < 2);
            c.Set(x, y, line ? b : a);
        }
    return c;
}

} // namespace

void PaintInterface(CSheet& trans) {
    trans.Put(230, MenuArrow(true));
    trans.Put(231, MenuArrow(false));
    trans.Put(248, NoWorms());
    trans.Put(249, NoGhosts());
    trans.Put(251, RectangleMarker());
    trans.Put(252, Seat(Sack()));
    trans.Put(253, Seat(Cob()));
    trans.Put(254, Seat(Kernel()));
}

void PaintEditorTiles(CSheet& full) {
    // 126: a cell without ground, where the game shows the sky; 127: outside the field.
    full.Put(126, Hatched(0x14141C, 0x2C2C3A, 8, false));
    CCanvas outside = Hatched(0x0C0C10, 0x1A1A22, 16, true);
    full.Put(127, outside);
}

} // namespace sp
