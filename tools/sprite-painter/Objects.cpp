// Objects of the transparent sheet: the cactus (6), ten blocks (16-25) and two ducks (120, 121).
#include "Palette.h"
#include "Sheet.h"

#include <cmath>

namespace sp {
namespace {

CCanvas Cactus() {
    CCanvas c = CSheet::NewCell();
    Shape trunk = RoundBox(12.5, 3.5, 19.5, 25, 3.5);
    Shape left = Union(RoundBox(5, 9, 10, 17, 2.5), Box(7.5, 13.5, 13, 17.5));
    Shape right = Union(RoundBox(22, 6, 27, 14, 2.5), Box(19, 10.5, 24.5, 14.5));
    Shape plant = Union(trunk, Union(left, right));
    CMask m(plant);
    Bevel(c, m, pal::CACTUS, 2);
    // ribs and spines
    for (int y = 6; y < 24; ++y)
        if (m.At(15, y) && m.At(17, y))
            c.Set(16, y, Mix(pal::CACTUS.shade, pal::CACTUS.base, 0.5));
    const int spines[][2] = {{14, 6},  {18, 9}, {14, 12}, {18, 15}, {14, 18},
                             {18, 21}, {7, 11}, {24, 8},  {6, 14},  {25, 11}};
    for (auto& s : spines)
        c.Set(s[0], s[1], pal::CACTUS.highlight);
    // a pink flower on top
    Fill(c, CMask(Circle(16, 4, 2.3)), pal::WORM.light);
    c.Set(16, 4, pal::YELLOW.light);
    // terracotta pot
    CMask pot(Polygon({{9.5, 23.5}, {22.5, 23.5}, {21, 30}, {11, 30}}));
    Bevel(c, pot, pal::ORANGE, 1);
    for (int x = 10; x <= 21; ++x)
        c.Set(x, 25, pal::ORANGE.shade);
    Outline(c);
    return c;
}

// Common square block body (2..29) with bevel; returns its mask.
CMask BlockBody(CCanvas& c, const Ramp& r, double round = 2.0) {
    CMask m(RoundBox(2, 2, 30, 30, round));
    Bevel(c, m, r, 2);
    return m;
}

void Line(CCanvas& c, double x0, double y0, double x1, double y1, double hw, Colour col,
          const CMask* clip = nullptr) {
    CMask m(Segment(x0, y0, x1, y1, hw));
    if (clip)
        m &= *clip;
    Fill(c, m, col);
}

CCanvas Crate() {
    CCanvas c = CSheet::NewCell();
    CMask body = BlockBody(c, pal::WOOD);
    CMask inner(Box(6, 6, 26, 26));
    Bevel(c, inner,
          Ramp{pal::WOOD.shade, Mix(pal::WOOD.base, pal::WOOD.shade, 0.3), pal::WOOD.base,
               pal::WOOD.light});
    for (int y : {12, 19})
        for (int x = 6; x < 26; ++x)
            c.Set(x, y, pal::WOOD.shade);
    Line(c, 7, 25, 25, 7, 1.6, pal::WOOD.light, &inner);
    Line(c, 7.8, 25.8, 25.8, 7.8, 0.6, pal::WOOD.shade, &inner);
    for (int p : {4, 27})
        for (int q : {4, 27})
            c.Set(p, q, pal::STEEL.highlight);
    Outline(c);
    return c;
}

CCanvas StoneBlock() {
    CCanvas c = CSheet::NewCell();
    BlockBody(c, pal::STONE, 3.0);
    for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x)
            if (Hash(x, y, 7) > 0.9)
                c.Set(x, y, Mix(pal::STONE.base, pal::STONE.shade, 0.5));
    const int crack[][2] = {{9, 7},   {10, 8},  {10, 9},  {11, 10}, {12, 10},
                            {13, 11}, {20, 20}, {21, 21}, {21, 22}, {22, 23}};
    for (auto& p : crack)
        c.Set(p[0], p[1], pal::STONE.shade);
    Outline(c);
    return c;
}

CCanvas SteelBox() {
    CCanvas c = CSheet::NewCell();
    CMask body = BlockBody(c, pal::STEEL, 1.0);
    CMask inner(Box(7, 7, 25, 25));
    Bevel(c, inner,
          Ramp{pal::STEEL.highlight, pal::STEEL.base, pal::STEEL.light, pal::STEEL.shade});
    Line(c, 8, 8, 23.5, 23.5, 1.0, pal::STEEL.light, &inner);
    Line(c, 8, 23.5, 23.5, 8, 1.0, pal::STEEL.light, &inner);
    for (int p : {4, 26})
        for (int q : {4, 26}) {
            c.Set(p, q, pal::STEEL.highlight);
            c.Set(p + 1, q + 1, pal::STEEL.shade);
        }
    Outline(c);
    return c;
}

CCanvas IceCube() {
    CCanvas c = CSheet::NewCell();
    BlockBody(c, pal::ICE, 4.0);
    Fill(c, CMask(Segment(7, 14, 14, 7, 1.3)), pal::ICE.highlight);
    Fill(c, CMask(Segment(9, 20, 20, 9, 0.7)), pal::ICE.highlight);
    Fill(c, CMask(RoundBox(9, 9, 23, 23, 3)), pal::ICE.light);
    Fill(c, CMask(Segment(11, 14, 14, 11, 0.8)), pal::ICE.highlight);
    Outline(c);
    return c;
}

CCanvas GoldBlock() {
    CCanvas c = CSheet::NewCell();
    BlockBody(c, pal::GOLD, 1.5);
    CMask top(Polygon({{8, 9}, {24, 9}, {21, 16}, {11, 16}}));
    Bevel(c, top, Ramp{pal::GOLD.base, pal::GOLD.light, pal::GOLD.highlight, pal::GOLD.highlight});
    CMask bottom(Polygon({{8, 19}, {24, 19}, {21, 25}, {11, 25}}));
    Bevel(c, bottom, Ramp{pal::GOLD.shade, pal::GOLD.base, pal::GOLD.light, pal::GOLD.highlight});
    c.Set(6, 5, 0xFFFFFF);
    c.Set(5, 6, 0xFFFFFF);
    c.Set(6, 6, 0xFFFFFF);
    Outline(c);
    return c;
}

CCanvas Barrel() {
    CCanvas c = CSheet::NewCell();
    CMask m(Circle(16, 16, 14));
    Sphere(c, m, pal::WOOD, 16, 16, 14, 14);
    for (double r : {10.5, 5.5}) {
        CMask ring(Circle(16, 16, r + 1.2));
        ring -= CMask(Circle(16, 16, r));
        Fill(c, ring, pal::DARKSTEEL.light);
    }
    Fill(c, CMask(Circle(16, 16, 2)), pal::WOOD.shade);
    c.Set(11, 9, pal::STEEL.highlight);
    Outline(c);
    return c;
}

CCanvas Boulder() {
    CCanvas c = CSheet::NewCell();
    CMask m(
        Polygon({{9, 3}, {21, 2.5}, {29, 9}, {29.5, 21}, {23, 29}, {9, 29.5}, {2.5, 22}, {3, 10}}));
    Sphere(c, m, pal::STONE, 16, 16, 14, 14);
    const int facets[][2] = {{12, 10}, {13, 11}, {14, 12}, {20, 16}, {21, 17}, {19, 23}};
    for (auto& p : facets)
        c.Set(p[0], p[1], pal::STONE.shade);
    Outline(c);
    return c;
}

CCanvas HayBale() {
    CCanvas c = CSheet::NewCell();
    const Ramp hay{0x9A7A20, 0xD8B850, 0xEED070, 0xFFF0A8};
    BlockBody(c, hay, 4.0);
    for (int y = 5; y < 28; y += 3)
        for (int x = 4; x < 28; ++x)
            if (Hash(x, y, 23) > 0.45)
                c.Set(x, y, hay.shade);
    for (int x : {10, 21})
        for (int y = 2; y < 30; ++y)
            c.Set(x, y, pal::ORANGE.shade);
    Outline(c);
    return c;
}

CCanvas GiftBox() {
    CCanvas c = CSheet::NewCell();
    BlockBody(c, pal::RED, 1.5);
    CMask ribbon(Union(Box(14, 2, 18, 30), Box(2, 14, 30, 18)));
    Bevel(c, ribbon, pal::YELLOW, 1);
    CMask bow(Union(Ellipse(12, 12, 4, 3), Ellipse(20, 12, 4, 3)));
    Bevel(c, bow, pal::YELLOW, 1);
    Fill(c, CMask(Circle(16, 13, 2)), pal::YELLOW.shade);
    Outline(c);
    return c;
}

CCanvas ToyBlock() {
    CCanvas c = CSheet::NewCell();
    BlockBody(c, pal::PURPLE, 3.0);
    CMask face(RoundBox(6, 6, 26, 26, 3));
    Bevel(c, face,
          Ramp{pal::PURPLE.highlight, pal::PURPLE.light, pal::PURPLE.base, pal::PURPLE.shade});
    std::vector<std::pair<double, double>> star;
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? 3.6 : 8.5;
        star.push_back({16 + r * std::cos(a), 16.5 + r * std::sin(a)});
    }
    Bevel(c, CMask(Polygon(star)), pal::YELLOW, 1);
    Outline(c);
    return c;
}

CCanvas Duck(const Ramp& body, bool faceLeft) {
    CCanvas c = CSheet::NewCell();
    Shape torso = Union(Ellipse(14, 21, 11, 7), Polygon({{3, 13}, {9, 17}, {5, 21}}));
    Shape head = Circle(21, 11, 6);
    CMask all(Union(torso, head));
    Sphere(c, all, body, 15, 16, 12, 11);
    CMask wing(Ellipse(12, 20, 6, 3.5));
    Bevel(c, wing, Ramp{body.shade, body.base, body.base, body.light});
    CMask beak(Polygon({{26, 10}, {31, 12}, {26, 14.5}}));
    Bevel(c, beak, pal::ORANGE, 1);
    c.Set(22, 9, pal::PUPIL);
    c.Set(22, 10, pal::PUPIL);
    c.Set(23, 9, 0xFFFFFF);
    Outline(c);
    if (!faceLeft)
        return c;
    CCanvas m = CSheet::NewCell();
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x)
            m.Set(CELL - 1 - x, y, c.Get(x, y));
    return m;
}

} // namespace

void PaintObjects(CSheet& trans) {
    trans.Put(6, Cactus());
    trans.Put(16, Crate());
    trans.Put(17, StoneBlock());
    trans.Put(18, SteelBox());
    trans.Put(19, IceCube());
    trans.Put(20, GoldBlock());
    trans.Put(21, Barrel());
    trans.Put(22, Boulder());
    trans.Put(23, HayBale());
    trans.Put(24, GiftBox());
    trans.Put(25, ToyBlock());
    trans.Put(120, Duck(pal::YELLOW, false));
    trans.Put(121, Duck(pal::WHITE, true));
}

} // namespace sp
