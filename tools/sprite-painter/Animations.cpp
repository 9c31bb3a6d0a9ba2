// Animation frames: a worm's death (200-209), drowning (210-229) and a ghost's death (232-247).
// Each sequence plays out and ends with almost nothing left in the cell.
#include "Palette.h"
#include "Sheet.h"

#include <cmath>

namespace sp {
namespace {

void CrossEyes(CCanvas& c, double cx, double cy, double s) {
    for (double ex : {-5.0, 5.0})
        for (int d = -2; d <= 2; ++d) {
            int x = static_cast<int>(cx + ex * s), y = static_cast<int>(cy - 2 * s);
            c.Set(x + d, y + d, pal::PUPIL);
            c.Set(x + d, y - d, pal::PUPIL);
        }
}

CCanvas WormDeath(int k) {
    CCanvas c = CSheet::NewCell();
    const Ramp flash{pal::WORM.light, pal::WORM.highlight, 0xFFF4F6, 0xFFFFFF};
    if (k == 0 || k == 2) { // flashes, the second one swollen
        double r = k == 0 ? 14.5 : 15.5;
        DrawHead(c, flash, 16, 16, r);
        CrossEyes(c, 16, 16, r / 14.0);
    } else if (k == 1) {
        DrawHead(c, pal::WORM, 16, 16, 15);
        CrossEyes(c, 16, 16, 1.05);
        Fill(c, CMask(Ellipse(16, 22, 2.5, 3)), pal::WORM.shade);
    } else if (k == 3) { // the burst
        std::vector<std::pair<double, double>> burst;
        for (int i = 0; i < 24; ++i) {
            double a = i * M_PI / 12, r = i % 2 ? 9.5 : 15;
            burst.push_back({16 + r * std::cos(a), 16 + r * std::sin(a)});
        }
        Fill(c, CMask(Polygon(burst)), pal::WORM.light);
        Fill(c, CMask(Circle(16, 16, 8)), pal::WORM.highlight);
        Fill(c, CMask(Circle(16, 16, 4.5)), 0xFFFFFF);
    } else {                    // pink specks flying apart, fewer and smaller each frame
        const int step = k - 4; // 0..5
        const int counts[] = {10, 9, 7, 5, 3, 2};
        const double dist = 6.0 + 2.0 * step, size = 2.4 - 0.3 * step;
        for (int i = 0; i < counts[step]; ++i) {
            double a = (i * 36.0 + 17.0 * (i % 3)) * M_PI / 180.0;
            double d = dist * (0.85 + 0.3 * Hash(i, 0, 77));
            double x = 16 + d * std::cos(a), y = 16 + d * std::sin(a);
            Sphere(c, CMask(Circle(x, y, size)), pal::WORM, x, y, size, size);
        }
    }
    Outline(c);
    return c;
}

void Ring(CCanvas& c, double r, double keep, int phase) {
    CMask outer(Circle(16, 17, r));
    outer -= CMask(Circle(16, 17, r - 1.2));
    CMask inner(Circle(16, 17, r - 1.2));
    inner -= CMask(Circle(16, 17, r - 2.2));
    Fill(c, Dither(outer, keep, phase), pal::WATER.highlight);
    Fill(c, Dither(inner, keep, phase), pal::WATER.light);
}

void Bubble(CCanvas& c, double x, double y, double r) {
    CMask b(Circle(x, y, r));
    Fill(c, b.Grown(), pal::WATER.shade);
    Fill(c, b, pal::WATER.light);
    c.Set(static_cast<int>(x - r * 0.4), static_cast<int>(y - r * 0.4), 0xFFFFFF);
}

CCanvas Drowning(int k) {
    CCanvas c = CSheet::NewCell();
    if (k < 10) { // the head sinks: smaller and bluer, ripples spreading round it
        double t = k / 9.0, r = 14.5 - 9.5 * t;
        Ring(c, std::min(15.5, r + 2.5 + 2 * t), 1.0, 0);
        if (k >= 4)
            Ring(c, std::min(15.5, r + 6), 0.6, 1);
        Ramp sunk{Mix(pal::WORM.shade, pal::WATER.shade, t),
                  Mix(pal::WORM.base, pal::WATER.base, t * 0.8),
                  Mix(pal::WORM.light, pal::WATER.light, t * 0.7),
                  Mix(pal::WORM.highlight, pal::WATER.highlight, t * 0.5)};
        CMask head(Circle(16, 17, r));
        Fill(c, head.Grown(), OUTLINE);
        DrawHead(c, sunk, 16, 17, r);
        if (r > 8)
            DrawEyes(c, 16, 17, r);
    } else { // rings widen and thin out, bubbles rise, one is left
        double t = (k - 10) / 9.0;
        Ring(c, 8 + 7 * t, 0.9 - 0.8 * t, k);
        if (k < 16)
            Ring(c, 4 + 6 * t, 0.7 - 0.6 * t, k + 1);
        if (k < 17)
            Bubble(c, 9.5, 19 - 10 * t, 2.2);
        if (k < 18)
            Bubble(c, 22.5, 16 - 8 * t, 1.6);
        Bubble(c, 16.5, 14 - 6 * t, k == 19 ? 1.4 : 2.6);
    }
    return c;
}

// The figure of the ghost, lighter with t and with only `keep` of its pixels left.
CCanvas Dissolving(double s, double cy, double t, double keep, int phase) {
    CCanvas fig = CSheet::NewCell();
    Ramp pale{Mix(pal::GHOST.shade, 0xFFFFFF, t * 0.5), Mix(pal::GHOST.base, 0xFFFFFF, t * 0.6),
              pal::GHOST.light, pal::GHOST.highlight};
    DrawGhostFigure(fig, pale, 16, cy, s);
    if (keep >= 1.0)
        return fig;
    CMask m;
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x)
            m.Put(x, y, fig.Get(x, y) != KEY);
    CMask kept = Dither(m, keep, phase);
    CCanvas c = CSheet::NewCell();
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x)
            if (kept.At(x, y))
                c.Set(x, y, fig.Get(x, y));
    return c;
}

CCanvas GhostDeath(int k) {
    if (k == 0) { // the flash
        CCanvas c = CSheet::NewCell();
        for (int i = 0; i < 8; ++i) {
            double a = (i * 45 + 22.5) * M_PI / 180;
            Fill(c,
                 CMask(Segment(16 + 12 * std::cos(a), 16 + 12 * std::sin(a), 16 + 15 * std::cos(a),
                               16 + 15 * std::sin(a), 1.0)),
                 pal::YELLOW.highlight);
        }
        CCanvas fig = CSheet::NewCell();
        DrawGhostFigure(fig, Ramp{0xE8E8F0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, 16, 16.4, 1.0);
        for (int y = 0; y < CELL; ++y)
            for (int x = 0; x < CELL; ++x)
                if (fig.Get(x, y) != KEY)
                    c.Set(x, y, fig.Get(x, y) == pal::PUPIL ? 0xC8C8D8 : 0xFFFFFF);
        Outline(c);
        return c;
    }
    const double t = (k - 1) / 14.0; // 0..1 over frames 233..247
    const double s = 1.0 - 0.5 * t, cy = 16.4 - 7 * t;
    CCanvas c = Dissolving(s, cy, t, k < 4 ? 1.0 : 1.05 - t, k);
    // the wisp trailing below, thinning away
    for (int i = 0; i < 6; ++i) {
        double y = cy + 10 * s + i * 2.5;
        double x = 16 + 3 * std::sin(i * 1.1 + k * 0.6);
        double r = (2.6 - i * 0.35) * (1.0 - 0.6 * t);
        if (r < 0.7 || y > 31)
            continue;
        CMask w(Circle(x, y, r));
        Fill(c, k < 4 ? w : Dither(w, 1.05 - t, i), Mix(pal::GHOST.base, 0xFFFFFF, t));
    }
    if (k < 4)
        Outline(c);
    return c;
}

} // namespace

void PaintAnimations(CSheet& trans) {
    for (int k = 0; k < 10; ++k)
        trans.Put(200 + k, WormDeath(k));
    for (int k = 0; k < 20; ++k)
        trans.Put(210 + k, Drowning(k));
    for (int k = 0; k < 16; ++k)
        trans.Put(232 + k, GhostDeath(k));
}

} // namespace sp
