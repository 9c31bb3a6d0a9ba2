// Switch pictures 32-52, ghost fences 56-62 and the three sets of borders 64-75.
#include "Palette.h"
#include "Sheet.h"

#include <cmath>

namespace sp {
namespace {

void Plate(CCanvas& c) {
    CMask plate(RoundBox(5, 5, 27, 27, 3));
    Bevel(c, plate, pal::DARKSTEEL, 2);
    for (int p : {7, 24})
        for (int q : {7, 24})
            c.Set(p, q, pal::DARKSTEEL.highlight);
}

void Knob(CCanvas& c, const Ramp& r, double cx, double cy, double radius) {
    Sphere(c, CMask(Circle(cx, cy, radius)), r, cx, cy, radius, radius);
}

CCanvas Lever(const Ramp& r, bool right) {
    CCanvas c = CSheet::NewCell();
    Plate(c);
    Fill(c, CMask(RoundBox(9, 19, 23, 23, 1.5)), OUTLINE);
    const double kx = right ? 23 : 9;
    CMask stick(Segment(16, 21, kx, 10, 1.6));
    Bevel(c, stick, pal::STEEL, 1);
    Knob(c, pal::DARKSTEEL, 16, 21, 2.5);
    Knob(c, r, kx, 9.5, 5);
    Outline(c);
    return c;
}

CCanvas Button(const Ramp& r, bool pressed) {
    CCanvas c = CSheet::NewCell();
    Plate(c);
    Fill(c, CMask(Circle(16, 16, 8.5)), OUTLINE);
    Fill(c, CMask(Circle(16, 16, 7.5)), pal::DARKSTEEL.shade);
    if (pressed) {
        Ramp flat{r.shade, r.shade, r.base, r.light};
        Knob(c, flat, 16.5, 16.5, 5.5);
    } else {
        Knob(c, r, 15.5, 15.5, 7);
        c.Set(12, 12, 0xFFFFFF);
    }
    Outline(c);
    return c;
}

CCanvas Dial(const Ramp& r, bool right) {
    CCanvas c = CSheet::NewCell();
    Plate(c);
    for (int i = 0; i < 5; ++i) {
        double a = (-180 + i * 45) * M_PI / 180.0;
        c.Set(static_cast<int>(16 + 9.5 * std::cos(a)), static_cast<int>(17 + 9.5 * std::sin(a)),
              pal::YELLOW.light);
    }
    Knob(c, r, 16, 17, 7);
    double a = (right ? -45.0 : -135.0) * M_PI / 180.0;
    Fill(c, CMask(Segment(16, 17, 16 + 6 * std::cos(a), 17 + 6 * std::sin(a), 1.2)), 0xFFFFFF);
    Outline(c);
    return c;
}

CCanvas Lamp(bool on) {
    CCanvas c = CSheet::NewCell();
    Plate(c);
    Ramp glass = on ? pal::YELLOW : pal::STONE;
    if (on)
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4;
            Fill(c,
                 CMask(Segment(16 + 9 * std::cos(a), 14 + 9 * std::sin(a), 16 + 11.5 * std::cos(a),
                               14 + 11.5 * std::sin(a), 0.8)),
                 pal::YELLOW.highlight);
        }
    Knob(c, glass, 16, 14, 6);
    Fill(c, CMask(Box(13, 20, 19, 24)), pal::STEEL.base);
    c.Set(14, 21, pal::STEEL.highlight);
    c.Set(17, 22, pal::STEEL.shade);
    Outline(c);
    return c;
}

// Panel switches, suited to the panel floors 87, 75 and 86.
CCanvas MushroomButton() {
    CCanvas c = CSheet::NewCell();
    Knob(c, pal::YELLOW, 16, 16, 11);
    Fill(c, CMask(Circle(16, 16, 8.5)), OUTLINE);
    Knob(c, pal::RED, 15.5, 15.5, 7.5);
    c.Set(12, 12, 0xFFFFFF);
    c.Set(13, 12, 0xFFFFFF);
    Outline(c);
    return c;
}

CCanvas Rocker() {
    CCanvas c = CSheet::NewCell();
    Bevel(c, CMask(RoundBox(9, 5, 23, 27, 2)), pal::DARKSTEEL, 1);
    Bevel(c, CMask(RoundBox(11, 7, 21, 16, 1.5)), pal::GREEN, 1);
    Bevel(c, CMask(RoundBox(11, 16, 21, 25, 1.5)),
          Ramp{pal::GREEN.shade, pal::GREEN.shade, pal::GREEN.base, pal::GREEN.base}, 1);
    Fill(c, CMask(Box(14, 10, 18, 12)), 0xFFFFFF);
    Fill(c, CMask(Circle(16, 20.5, 2)), pal::GREEN.highlight);
    Outline(c);
    return c;
}

CCanvas KeySwitch() {
    CCanvas c = CSheet::NewCell();
    Knob(c, pal::STEEL, 16, 16, 10);
    Fill(c, CMask(Circle(16, 16, 7)), pal::DARKSTEEL.base);
    CMask key(Union(Box(14.5, 8, 17.5, 20), Circle(16, 22, 4)));
    Bevel(c, key, pal::GOLD, 1);
    Fill(c, CMask(Circle(16, 22, 1.5)), pal::GOLD.shade);
    c.Set(22, 7, pal::GREEN.light);
    c.Set(23, 7, pal::GREEN.light);
    c.Set(9, 7, pal::RED.light);
    c.Set(10, 7, pal::RED.light);
    Outline(c);
    return c;
}

// A fence post seen from above: a dark round post with a glowing (or dark) cap.
void Post(CCanvas& c, double cx, double cy, bool on) {
    Knob(c, pal::STEEL, cx, cy, 4);
    Fill(c, CMask(Circle(cx, cy, 2)), on ? pal::BEAM.highlight : pal::DARKSTEEL.base);
    if (on)
        c.Set(static_cast<int>(cx) - 1, static_cast<int>(cy) - 1, 0xFFFFFF);
}

// A beam along x (horizontal) or y, the full length of the cell so that fences chain up.
void Beam(CCanvas& c, bool horizontal, int from, int to) {
    for (int t = from; t <= to; ++t)
        for (int d = -2; d <= 2; ++d) {
            int wave = ((t / 2) % 4 == 0) ? 1 : 0;
            Colour col = d == 0             ? pal::BEAM.highlight
                         : std::abs(d) == 1 ? pal::BEAM.light
                                            : pal::BEAM.base;
            if (std::abs(d) == 2 && wave)
                col = pal::BEAM.light;
            if (horizontal)
                c.Set(t, 16 + d, col);
            else
                c.Set(16 + d, t, col);
        }
}

enum class Fence { Horizontal, Vertical, Cross, Post };

CCanvas GhostFence(Fence kind, bool on) {
    CCanvas c = CSheet::NewCell();
    const bool h = kind == Fence::Horizontal, v = kind == Fence::Vertical;
    if (on && (h || kind == Fence::Cross))
        Beam(c, true, 0, 31);
    if (on && (v || kind == Fence::Cross))
        Beam(c, false, 0, 31);
    if (h) {
        Post(c, 6, 16.5, on);
        Post(c, 26, 16.5, on);
    } else if (v) {
        Post(c, 16.5, 6, on);
        Post(c, 16.5, 26, on);
    } else if (kind == Fence::Cross) {
        Post(c, 16.5, 16.5, on);
    } else {
        if (on) {
            CMask glow(Circle(16.5, 16.5, 8));
            glow -= CMask(Circle(16.5, 16.5, 6.5));
            Fill(c, glow, pal::BEAM.light);
        }
        Post(c, 16.5, 16.5, on);
    }
    if (!on) {
        // the emitters stay as dark stubs
        Colour stub = pal::DARKSTEEL.light;
        if (h)
            for (int x : {11, 21})
                c.FillRect(x - 1, 16, x, 17, stub);
        if (v)
            for (int y : {11, 21})
                c.FillRect(16, y - 1, 17, y, stub);
        if (kind == Fence::Cross)
            for (int t : {10, 22}) {
                c.FillRect(t - 1, 16, t, 17, stub);
                c.FillRect(16, t - 1, 17, t, stub);
            }
    }
    Outline(c);
    return c;
}

// One border strip along the top edge; the other sides are this one turned.
CCanvas BorderTop(int set) {
    CCanvas c = CSheet::NewCell();
    for (int x = 0; x < CELL; ++x)
        for (int y = 0; y < 6; ++y) {
            Colour col = KEY;
            if (set == 0 && y < 4) { // white kerb stones, 16 wide
                Colour base = (x % 16 == 15) ? pal::WHITE.shade : pal::WHITE.base;
                col = y == 0 ? pal::WHITE.highlight : y == 3 ? pal::WHITE.shade : base;
                if (x % 16 == 0 && y > 0)
                    col = pal::WHITE.highlight;
            } else if (set == 1 && y < 4) { // hazard stripes
                bool stripe = ((x + y) / 4) % 2 == 0;
                col = stripe ? pal::YELLOW.light : 0x2A2A30;
                if (y == 3)
                    col = stripe ? pal::YELLOW.shade : 0x1C1C24;
            } else if (set == 2) { // a low hedge with rounded tops every 8 pixels
                double dx = (x % 8) - 3.5;
                double top = 4.6 - std::sqrt(std::max(0.0, 16.0 - dx * dx)) * 0.5;
                if (y <= top + 1.5) {
                    col = pal::GREEN.base;
                    if (Hash(x, y, 5) > 0.7)
                        col = pal::GREEN.light;
                    if (y >= top + 0.5)
                        col = pal::GREEN.shade;
                }
            }
            if (col != KEY)
                c.Set(x, y, col);
        }
    Outline(c);
    return c;
}

CCanvas Turn(const CCanvas& src, int quarters) {
    CCanvas c = src;
    for (int i = 0; i < quarters; ++i) {
        CCanvas t = CSheet::NewCell();
        for (int y = 0; y < CELL; ++y)
            for (int x = 0; x < CELL; ++x)
                t.Set(CELL - 1 - y, x, c.Get(x, y));
        c = t;
    }
    return c;
}

} // namespace

void PaintSwitches(CSheet& trans) {
    const Ramp colours[3] = {pal::RED, pal::GREEN, pal::BLUE};
    for (int i = 0; i < 3; ++i) {
        trans.Put(32 + 2 * i, Lever(colours[i], false));
        trans.Put(33 + 2 * i, Lever(colours[i], true));
    }
    const Ramp buttons[3] = {pal::RED, pal::YELLOW, pal::LIGHTBLUE};
    for (int i = 0; i < 3; ++i) {
        trans.Put(38 + 2 * i, Button(buttons[i], false));
        trans.Put(39 + 2 * i, Button(buttons[i], true));
    }
    trans.Put(44, Dial(pal::ORANGE, false));
    trans.Put(45, Dial(pal::ORANGE, true));
    trans.Put(46, Dial(pal::PURPLE, false));
    trans.Put(47, Dial(pal::PURPLE, true));
    trans.Put(48, Lamp(false));
    trans.Put(49, Lamp(true));
    trans.Put(50, MushroomButton());
    trans.Put(51, Rocker());
    trans.Put(52, KeySwitch());

    const Fence kinds[4] = {Fence::Horizontal, Fence::Vertical, Fence::Cross, Fence::Post};
    for (int i = 0; i < 4; ++i)
        trans.Put(56 + i, GhostFence(kinds[i], true));
    for (int i = 0; i < 3; ++i)
        trans.Put(60 + i, GhostFence(kinds[i], false));

    // Sides: 0 top, 1 bottom, 2 left, 3 right.
    for (int set = 0; set < 3; ++set) {
        CCanvas top = BorderTop(set);
        trans.Put(64 + 4 * set, top);
        trans.Put(65 + 4 * set, Turn(top, 2));
        trans.Put(66 + 4 * set, Turn(top, 3));
        trans.Put(67 + 4 * set, Turn(top, 1));
    }
}

} // namespace sp
