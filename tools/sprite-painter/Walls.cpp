// Wall tiles 0-39: plastic building bricks with round studs on the plain ground. Bar pieces
// run out to the cell edge on their joined sides, where every column depends only on the
// row, so a left end, middles and a right end read as one long brick.
#include "Palette.h"
#include "Sheet.h"

#include <cmath>

namespace sp {
namespace {

struct Joins {
    bool left, right, top, bottom;
};

// The brick is rasterised into a canvas with 16 pixels of room on each side, so that on a
// joined side the bevel sees the brick continue and draws no edge there.
constexpr int PAD = 16;

void DrawStud(CCanvas& c, const Ramp& r, double cx, double cy) {
    CMask shadow(Circle(cx + 1.0, cy + 1.5, 4.6));
    CMask stud(Circle(cx, cy, 4.6));
    CMask top(Circle(cx - 0.3, cy - 0.3, 3.1));
    shadow -= stud;
    Fill(c, shadow, Mix(r.shade, r.base, 0.45));
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x) {
            if (!stud.At(x, y))
                continue;
            double a = std::atan2(y + 0.5 - cy, x + 0.5 - cx) * 180.0 / M_PI; // 0 = right
            Colour col = r.light;
            if (a < -60 && a > -170)
                col = r.highlight;
            else if (a > -10 && a < 120)
                col = r.shade;
            if (top.At(x, y))
                col = r.base;
            c.Set(x, y, col);
        }
    c.Set(static_cast<int>(cx) - 2, static_cast<int>(cy) - 2, r.highlight);
}

CCanvas Brick(const Ramp& r, Joins j) {
    const double x0 = j.left ? -PAD : 2, x1 = j.right ? CELL + PAD : 30;
    const double y0 = j.top ? -PAD : 2, y1 = j.bottom ? CELL + PAD : 30;
    const int big = CELL + 2 * PAD;
    CMask body(RoundBox(x0 + PAD, y0 + PAD, x1 + PAD, y1 + PAD, 2.5), big, big);
    CMask inner(RoundBox(x0 + PAD + 1, y0 + PAD + 1, x1 + PAD - 1, y1 + PAD - 1, 1.5), big, big);
    CCanvas wide(big, big);
    Fill(wide, body, Mix(OUTLINE, r.shade, 0.35));
    Bevel(wide, inner, r, 2);

    CCanvas tile = FloorTile(64);
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x)
            if (wide.Get(x + PAD, y + PAD) != KEY)
                tile.Set(x, y, wide.Get(x + PAD, y + PAD));
    for (double sy : {8.0, 24.0})
        for (double sx : {8.0, 24.0})
            DrawStud(tile, r, sx, sy);
    return tile;
}

// Piece 7: a round plate with one big stud.
CCanvas StudPlate(const Ramp& r) {
    CCanvas tile = FloorTile(64);
    CMask plate(Circle(16, 16, 14));
    CMask inner(Circle(16, 16, 13));
    Fill(tile, plate, Mix(OUTLINE, r.shade, 0.35));
    Bevel(tile, inner, r, 2);
    CMask ring(Circle(16.5, 17.5, 8));
    ring -= CMask(Circle(16, 16, 7.5));
    Fill(tile, ring, Mix(r.shade, r.base, 0.45));
    CMask stud(Circle(16, 16, 7.5));
    Sphere(tile, stud, Ramp{r.shade, r.light, r.light, r.highlight}, 16, 16, 7.5, 7.5);
    CMask top(Circle(15.7, 15.7, 5));
    Fill(tile, top, r.base);
    tile.Set(13, 13, r.highlight);
    tile.Set(14, 13, r.highlight);
    tile.Set(13, 14, r.highlight);
    return tile;
}

} // namespace

void PaintWalls(CSheet& full) {
    const Ramp styles[5] = {pal::RED, pal::YELLOW, pal::GREEN, pal::BLUE, pal::LIGHTBLUE};
    for (int s = 0; s < 5; ++s) {
        const Ramp& r = styles[s];
        const int base = 8 * s;
        full.Put(base + 0, Brick(r, {false, false, false, false}));
        full.Put(base + 1, Brick(r, {false, true, false, false}));
        full.Put(base + 2, Brick(r, {true, true, false, false}));
        full.Put(base + 3, Brick(r, {true, false, false, false}));
        full.Put(base + 4, Brick(r, {false, false, false, true}));
        full.Put(base + 5, Brick(r, {false, false, true, true}));
        full.Put(base + 6, Brick(r, {false, false, true, false}));
        full.Put(base + 7, StudPlate(r));
    }
}

} // namespace sp
