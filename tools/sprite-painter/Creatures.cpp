// Creatures 144-149: the ghost, the marked ghost, the worm's body and its three heads.
#include "Palette.h"
#include "Sheet.h"

#include <cmath>

namespace sp {

void DrawGhostFigure(CCanvas& c, const Ramp& r, double cx, double cy, double s) {
    // A dome, straight sides and a hem of three scallops; (cx, cy) is the figure's middle.
    Shape dome = Circle(cx, cy - 3 * s, 11 * s);
    Shape sides = Box(cx - 11 * s, cy - 3 * s, cx + 11 * s, cy + 9 * s);
    Shape hem =
        Union(Circle(cx - 7.4 * s, cy + 9 * s, 3.7 * s),
              Union(Circle(cx, cy + 9 * s, 3.7 * s), Circle(cx + 7.4 * s, cy + 9 * s, 3.7 * s)));
    CMask body(Union(dome, Union(sides, hem)));
    Sphere(c, body, r, cx, cy - 2 * s, 12 * s, 15 * s);
    // hem folds in the shade colour
    for (double fx : {-3.7, 3.7}) {
        int x = static_cast<int>(std::floor(cx + fx * s));
        for (int y = static_cast<int>(cy + 5 * s); y < cy + 9 * s; ++y)
            if (body.At(x, y))
                c.Set(x, y, r.shade);
    }
    // eyes: big white ovals with dark pupils looking at the viewer
    for (double ex : {-4.5, 4.5}) {
        CMask eye(Ellipse(cx + ex * s, cy - 3 * s, 3.2 * s, 4.2 * s));
        Fill(c, eye, pal::EYE_WHITE);
        Fill(c, eye.Edge(), Mix(r.shade, OUTLINE, 0.3));
        Fill(c, CMask(Ellipse(cx + ex * s, cy - 2.2 * s, 1.7 * s, 2.3 * s)), pal::PUPIL);
    }
    // a small round mouth
    Fill(c, CMask(Ellipse(cx, cy + 3.5 * s, 1.6 * s, 1.8 * s)), Mix(r.shade, OUTLINE, 0.5));
}

void DrawEyes(CCanvas& c, double cx, double cy, double radius) {
    const double s = radius / 14.0;
    for (double ex : {-5.0, 5.0}) {
        CMask eye(Ellipse(cx + ex * s, cy - 2 * s, 4 * s, 5 * s));
        Fill(c, eye, pal::EYE_WHITE);
        Fill(c, eye.Edge(), pal::WORM.shade);
        Fill(c, CMask(Circle(cx + ex * s, cy - 1 * s, 2.1 * s)), pal::PUPIL);
        c.Set(static_cast<int>(cx + (ex - 1) * s), static_cast<int>(cy - 3 * s), pal::EYE_WHITE);
    }
}

void DrawHead(CCanvas& c, const Ramp& r, double cx, double cy, double radius) {
    Sphere(c, CMask(Circle(cx, cy, radius)), r, cx, cy, radius, radius);
}

namespace {

void Smile(CCanvas& c, double cx, double cy, double w) {
    CMask mouth(Arc(cx, cy, w - 1.2, w, 30, 150));
    Fill(c, mouth, pal::WORM.shade);
}

CCanvas Ghost(const Ramp& r) {
    CCanvas c = CSheet::NewCell();
    DrawGhostFigure(c, r, 16, 16.4, 1.13);
    Outline(c);
    return c;
}

CCanvas Body() {
    // A plump, slightly squared disc: neighbouring segments touch along a wide stretch of the
    // cell edge, so a chain reads as one ringed body rather than a string of beads.
    CCanvas c = CSheet::NewCell();
    CMask m([](double x, double y) {
        double u = std::fabs(x - 16) / 15.0, v = std::fabs(y - 16) / 15.0;
        return std::pow(u, 2.8) + std::pow(v, 2.8) <= 1.0;
    });
    Sphere(c, m, pal::WORM, 16, 16, 16.5, 16.5);
    // a soft crease across the middle of the segment's light side
    CMask crease(Arc(16, 16, 8.5, 9.6, 190, 260));
    Fill(c, crease, pal::WORM.light);
    Outline(c);
    return c;
}

CCanvas Head(int kind) {
    CCanvas c = CSheet::NewCell();
    if (kind == 2) { // current worm: a golden ring round the head
        CMask ring(Circle(16, 16, 15));
        Sphere(c, ring, pal::GOLD, 16, 16, 15, 15);
        CMask gap(Circle(16, 16, 12.2));
        Fill(c, gap, OUTLINE);
        DrawHead(c, pal::WORM, 16, 16, 11.5);
        DrawEyes(c, 16, 16, 11.5);
        Smile(c, 16, 17, 5);
        const int gems[][2] = {{16, 2}, {16, 29}, {2, 16}, {29, 16}};
        for (auto& g : gems)
            c.Set(g[0], g[1], 0xFFFFFF);
    } else {
        DrawHead(c, pal::WORM, 16, 16, 14.5);
        if (kind == 0) {
            DrawEyes(c, 16, 16, 14.5);
            Smile(c, 16, 18, 5.5);
        } else { // leaving: closed, happy eyes and a wide smile
            for (double ex : {-5.0, 5.0})
                Fill(c, CMask(Arc(16 + ex, 15, 2.3, 3.6, 195, 345)), pal::PUPIL);
            CMask mouth(Arc(16, 17, 0, 6.5, 20, 160));
            Fill(c, mouth, 0x7A2030);
            Fill(c, CMask(Arc(16, 17, 5.3, 6.5, 20, 160)), pal::PUPIL);
            for (double ex : {-9.0, 9.0})
                Fill(c, CMask(Circle(16 + ex, 19, 1.6)), pal::WORM.light);
        }
    }
    Outline(c);
    return c;
}

} // namespace

void PaintCreatures(CSheet& trans) {
    trans.Put(144, Ghost(pal::GHOST));
    trans.Put(145, Ghost(pal::MARKED));
    trans.Put(146, Body());
    trans.Put(147, Head(0));
    trans.Put(148, Head(1));
    trans.Put(149, Head(2));
}

} // namespace sp
