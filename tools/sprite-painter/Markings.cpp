// Floor markings 0-5: the left and right turn and the four arrows, flat white with an outline.
#include "Palette.h"
#include "Sheet.h"

namespace sp {
namespace {

// Turns a shape by quarter turns clockwise round the cell's centre.
Shape Turned(Shape s, int quarters) {
    return [=](double x, double y) {
        double u = x, v = y;
        for (int i = 0; i < (quarters & 3); ++i) {
            double t = u;
            u = v;
            v = CELL - t;
        }
        return s(u, v);
    };
}

Shape Mirrored(Shape s) {
    return [=](double x, double y) { return s(CELL - x, y); };
}

// Pointing right; the others are this one turned.
Shape ArrowRight() {
    return Union(Box(4, 12, 19, 20), Polygon({{16.5, 4}, {28.5, 16}, {16.5, 28}}));
}

// Sweeps anticlockwise over the top and ends pointing down on the left.
Shape TurnLeft() {
    const double cx = 17, cy = 16, r0 = 6, r1 = 12;
    Shape band = Arc(cx, cy, r0, r1, 180, 405);
    double mid = (r0 + r1) / 2;
    Shape head = Polygon({{cx - mid - 8, cy - 0.5}, {cx - mid + 8, cy - 0.5}, {cx - mid, cy + 10}});
    return Union(band, head);
}

CCanvas Marking(const Shape& s) {
    CCanvas c = CSheet::NewCell();
    Bevel(c, CMask(s), pal::WHITE, 1);
    Outline(c);
    return c;
}

} // namespace

void PaintMarkings(CSheet& trans) {
    trans.Put(0, Marking(TurnLeft()));
    trans.Put(1, Marking(Mirrored(TurnLeft())));
    trans.Put(3, Marking(ArrowRight()));
    trans.Put(5, Marking(Turned(ArrowRight(), 1)));
    trans.Put(2, Marking(Turned(ArrowRight(), 2)));
    trans.Put(4, Marking(Turned(ArrowRight(), 3)));
}

} // namespace sp
