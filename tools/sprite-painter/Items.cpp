// Items 128-135: corn, anti-corn, the four speed items, the ghost killer and the larva.
#include "Palette.h"
#include "Sheet.h"

#include <cmath>

namespace sp {

void DrawKernel(CCanvas& c, const Ramp& r, double cx, double cy, double s) {
    // A kernel: a plump rounded body drawn to a blunt point below; (cx, cy) its middle.
    Shape kernel =
        Union(Ellipse(cx, cy - 1.5 * s, 7.2 * s, 7.6 * s), Polygon({{cx - 6.2 * s, cy + 1.5 * s},
                                                                    {cx + 6.2 * s, cy + 1.5 * s},
                                                                    {cx + 1.2 * s, cy + 9 * s},
                                                                    {cx - 1.2 * s, cy + 9 * s}}));
    Sphere(c, CMask(kernel), r, cx, cy - 0.5 * s, 8 * s, 9.5 * s);
    // the pale germ
    Fill(c, CMask(Ellipse(cx + 0.3 * s, cy + 1.5 * s, 2.2 * s, 3.6 * s)),
         Mix(r.highlight, r.light, 0.3));
}

namespace {

void Chevrons(CCanvas& c, double x, double y, double s, const Ramp& r) {
    for (double dx : {0.0, 8.0}) {
        double x0 = x + dx * s;
        CMask m(Polygon({{x0, y - 8 * s},
                         {x0 + 4 * s, y - 8 * s},
                         {x0 + 9 * s, y},
                         {x0 + 4 * s, y + 8 * s},
                         {x0, y + 8 * s},
                         {x0 + 5 * s, y}}));
        Bevel(c, m, r, 1);
    }
}

// A snail shell: a round shell with a spiral groove.
void Shell(CCanvas& c, double cx, double cy, double rad) {
    Sphere(c, CMask(Circle(cx, cy, rad)), pal::ORANGE, cx, cy, rad, rad);
    for (double t = 0; t < 3.2 * M_PI; t += 0.05) {
        double rr = rad * (0.85 - t / (4.0 * M_PI) * 0.75);
        c.Set(static_cast<int>(cx + rr * std::cos(t)), static_cast<int>(cy + rr * std::sin(t)),
              pal::ORANGE.shade);
    }
}

CCanvas Corn() {
    CCanvas c = CSheet::NewCell();
    DrawKernel(c, pal::CORN, 16, 15.5, 1.3);
    Outline(c);
    return c;
}

CCanvas AntiCorn() {
    CCanvas c = CSheet::NewCell();
    DrawKernel(c, pal::PURPLE, 14, 15, 1.2);
    CMask minus(RoundBox(15, 19, 29, 25, 1.5));
    Fill(c, minus.Grown(), OUTLINE);
    Bevel(c, minus, pal::RED, 1);
    Outline(c);
    return c;
}

CCanvas WormFaster() {
    CCanvas c = CSheet::NewCell();
    Chevrons(c, 5, 16, 1.3, pal::GREEN);
    Outline(c);
    return c;
}

CCanvas WormSlower() {
    CCanvas c = CSheet::NewCell();
    const Ramp foot{0x6A7A50, 0x98AA78, 0xB8C898, 0xDDE8C8};
    CMask body(Union(RoundBox(3, 20, 29, 27, 3.5), RoundBox(23, 12, 29, 24, 3)));
    Bevel(c, body, foot, 1);
    for (double ex : {24.5, 27.5}) {
        Fill(c, CMask(Segment(ex, 12, ex + (ex - 26) * 0.8, 7, 0.6)), foot.shade);
        c.Set(static_cast<int>(ex + (ex - 26) * 0.8), 6, pal::PUPIL);
    }
    CMask ring(Circle(13, 15, 10));
    Fill(c, ring.Grown(), OUTLINE);
    Shell(c, 13, 15, 10);
    Outline(c);
    return c;
}

CCanvas GhostsWith(bool faster) {
    CCanvas c = CSheet::NewCell();
    DrawGhostFigure(c, pal::GHOST, 11, 12, 0.62);
    CCanvas mark = CSheet::NewCell();
    if (faster)
        Chevrons(mark, 13, 23, 0.8, pal::GREEN);
    else
        Shell(mark, 23, 23, 7);
    Outline(c);
    Outline(mark);
    c.Blit(mark, 0, 0, true);
    return c;
}

CCanvas GhostKiller() {
    CCanvas c = CSheet::NewCell();
    std::vector<std::pair<double, double>> star;
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? 5.8 : 14;
        star.push_back({16 + r * std::cos(a), 17 + r * std::sin(a)});
    }
    CMask m(Polygon(star));
    Bevel(c, m, Ramp{pal::GOLD.base, pal::YELLOW.light, pal::YELLOW.highlight, 0xFFFFFF}, 1);
    Fill(c, CMask(Circle(16, 17, 3.4)), 0xFFFFFF);
    // the star's fierce eyes: it hunts ghosts
    c.Set(14, 16, pal::PUPIL);
    c.Set(18, 16, pal::PUPIL);
    c.Set(14, 17, pal::PUPIL);
    c.Set(18, 17, pal::PUPIL);
    Outline(c);
    // sparkles
    const int sparks[][2] = {{3, 4}, {28, 3}, {29, 27}, {3, 28}};
    for (auto& s : sparks) {
        c.Set(s[0], s[1], 0xFFFFFF);
        c.Set(s[0] - 1, s[1], pal::YELLOW.light);
        c.Set(s[0] + 1, s[1], pal::YELLOW.light);
        c.Set(s[0], s[1] - 1, pal::YELLOW.light);
        c.Set(s[0], s[1] + 1, pal::YELLOW.light);
    }
    return c;
}

CCanvas Larva() {
    CCanvas c = CSheet::NewCell();
    // a curled grub of five segments, head at the upper right
    const double seg[][3] = {
        {9, 23, 4.2}, {7.5, 15.5, 4.8}, {11, 9, 5.2}, {18, 7.5, 5.2}, {23.5, 12, 5.5}};
    for (auto& s : seg) {
        CMask m(Circle(s[0], s[1], s[2]));
        Fill(c, m.Grown(), pal::CREAM.shade);
        Sphere(c, m, pal::CREAM, s[0], s[1], s[2], s[2]);
    }
    c.Set(22, 11, pal::PUPIL);
    c.Set(25, 11, pal::PUPIL);
    Fill(c, CMask(Arc(23.5, 13, 1.5, 2.5, 20, 160)), pal::CREAM.shade);
    Outline(c);
    return c;
}

} // namespace

void PaintItems(CSheet& trans) {
    trans.Put(128, Corn());
    trans.Put(129, AntiCorn());
    trans.Put(130, WormFaster());
    trans.Put(131, WormSlower());
    trans.Put(132, GhostsWith(true));
    trans.Put(133, GhostsWith(false));
    trans.Put(134, GhostKiller());
    trans.Put(135, Larva());
}

} // namespace sp
