// Ground tiles 64-87 of the opaque sheet. Every texture wraps at 32 pixels so tiles repeat
// without seams: noise uses period-wrapped lattices, features wrap round the tile's edges.
#include "Palette.h"
#include "Sheet.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace sp {
namespace {

using PixelFn = std::function<Colour(int, int)>;

CCanvas Tile(const PixelFn& f) {
    CCanvas c(CELL, CELL);
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x)
            c.Set(x, y, f(x, y));
    return c;
}

// Distance between two coordinates on a 32-pixel ring.
double Wrap(double a, double b) {
    double d = std::fabs(a - b);
    d = std::fmod(d, CELL);
    return std::min(d, CELL - d);
}

// Noise mixed from three octaves, centred on 0 (about -0.5..0.5).
double Fbm(int x, int y, int seed) {
    return 0.5 * TileNoise(x, y, 16, seed) + 0.3 * TileNoise(x, y, 8, seed + 1) +
           0.2 * TileNoise(x, y, 4, seed + 2) - 0.5;
}

// Cells of a wrapped Voronoi pattern: distance to the nearest and second point, and the
// nearest point's number.
struct Cellular {
    double d1, d2;
    int id;
};
Cellular Voronoi(int x, int y, int count, int seed) {
    Cellular r{1e9, 1e9, 0};
    for (int i = 0; i < count; ++i) {
        // Points on a jittered grid keep the stones of even size.
        int side = static_cast<int>(std::ceil(std::sqrt(count)));
        double px = (i % side + 0.15 + 0.7 * Hash(i, 17, seed)) * CELL / side;
        double py = (i / side + 0.15 + 0.7 * Hash(31, i, seed * 3 + 1)) * CELL / side;
        double dx = Wrap(x + 0.5, px), dy = Wrap(y + 0.5, py);
        double d = std::sqrt(dx * dx + dy * dy);
        if (d < r.d1) {
            r.d2 = r.d1;
            r.d1 = d;
            r.id = i;
        } else if (d < r.d2) {
            r.d2 = d;
        }
    }
    return r;
}

// A square tile with faint grout along all four edges, lit from the top left. The grout has
// one fixed colour, so a tile's first and last columns (and rows) are equal and walls that run
// across cell edges meet the ground without a seam.
Colour Tiled(int x, int y, int size, Colour base, double contrast, Colour nominal) {
    int u = x % size, v = y % size;
    if (u == 0 || v == 0 || u == size - 1 || v == size - 1)
        return Scale(nominal, 1.0 - 0.18 * contrast);
    if (u == 1 || v == 1)
        return Scale(base, 1.0 + 0.1 * contrast);
    if (u == size - 2 || v == size - 2)
        return Scale(base, 1.0 - 0.07 * contrast);
    return base;
}

Colour Plain(int x, int y) {
    Colour base = Mix(pal::FLOOR.base, pal::FLOOR.light, 0.25 + 0.5 * Fbm(x, y, 11));
    if (Hash(x, y, 12) > 0.93)
        base = Mix(base, pal::FLOOR.shade, 0.35);
    return Tiled(x, y, 32, base, 1.0, pal::FLOOR.base);
}

Colour Water(int x, int y) {
    double n = Fbm(x, y, 21);
    Colour c = Mix(pal::WATER.base, pal::WATER.light, std::clamp(0.35 + n, 0.0, 1.0) * 0.6);
    // A few wave crests: short arcs, each wrapping round the tile.
    static const double crests[][2] = {{7, 8}, {23, 5}, {15, 19}, {28, 25}, {4, 27}};
    for (const auto& cr : crests) {
        double dx = Wrap(x + 0.5, cr[0]), dy = Wrap(y + 0.5, cr[1] + 3);
        double d = std::sqrt(dx * dx + dy * dy);
        bool above = std::fmod(y + 0.5 - (cr[1] + 3) + 64.0, CELL) > 16.0;
        if (above && dx < 3.6 && d > 2.6 && d < 3.8)
            return dx < 1.5 ? pal::WATER.highlight : pal::WATER.light;
    }
    return c;
}

Colour Ice(int x, int y) {
    int d = (x + y) % CELL;
    Colour c = Mix(pal::ICE.base, pal::ICE.light, 0.3 + 0.6 * Fbm(x, y, 31));
    if (d == 5 || d == 6)
        return pal::ICE.highlight;
    if (d == 4 || d == 7 || d == 18)
        return pal::ICE.light;
    if (Hash(x, y, 32) > 0.97)
        return pal::ICE.shade;
    return c;
}

Colour Grass(int x, int y) {
    Colour c = Mix(0x3A7A2C, 0x58A040, 0.5 + Fbm(x, y, 41));
    double h = Hash(x, y, 42);
    if (h > 0.88 && Hash(x, (y + 1) % CELL, 42) <= 0.88)
        return Mix(c, 0x9AD070, 0.5); // blade tip
    if (h < 0.08)
        return Mix(c, 0x204A18, 0.5);
    return c;
}

Colour Sand(int x, int y) {
    double ripple = std::sin((y + 3.0 * std::sin(x * 2 * M_PI / CELL)) * 2 * M_PI / 8.0);
    Colour c = Mix(0xC8AE78, 0xDCC690, 0.5 + 0.25 * ripple + 0.3 * Fbm(x, y, 51));
    if (Hash(x, y, 52) > 0.95)
        return Mix(c, 0x8A7048, 0.4);
    return c;
}

Colour Stones(int x, int y, int count, int seed, Colour mortar, Colour a, Colour b, double gap) {
    Cellular v = Voronoi(x, y, count, seed);
    if (v.d2 - v.d1 < gap)
        return mortar;
    Colour c = Mix(a, b, Hash(v.id, 3, seed));
    double rim = v.d2 - v.d1;
    if (rim < gap + 1.2)
        c = Scale(c, 0.88);
    return Mix(c, Scale(c, 1.1), 0.5 + Fbm(x, y, seed + 5));
}

Colour Planks(int x, int y) {
    int row = y / 8, v = y % 8;
    int joint = (row * 13 + 5) % CELL;
    Colour c = Mix(pal::WOOD.base, pal::WOOD.light, 0.3 + 0.4 * Hash(row, 0, 61));
    c = Mix(c, pal::WOOD.shade,
            0.25 * (0.5 + 0.5 * std::sin((x + row * 7) * (2 * M_PI * 4 / CELL) + v * 0.3)));
    if (v == 7)
        return pal::WOOD.shade;
    if (v == 0)
        return Mix(c, pal::WOOD.highlight, 0.3);
    if (x == joint)
        return pal::WOOD.shade;
    if (Wrap(x, (joint + 16) % CELL) < 1 && (v == 3))
        return Mix(c, pal::WOOD.shade, 0.6); // nail
    return c;
}

Colour Metal(int x, int y, Colour base) {
    int u = x % 16, v = y % 16;
    Colour c = Mix(base, Scale(base, 1.1), 0.5 + Fbm(x, y, 71));
    if ((u == 3 || u == 12) && (v == 3 || v == 12))
        return Scale(base, 1.35); // rivet
    if ((u == 4 || u == 13) && (v == 4 || v == 13))
        return Scale(base, 0.7);
    if (((u + v) % 4 == 0) && u > 5 && u < 11 && v > 5 && v < 11)
        return Scale(base, 1.12); // tread
    return Tiled(x, y, 16, c, 1.0, base);
}

Colour Carpet(int x, int y, Colour a, Colour b) {
    int u = (x + 4) % 8, v = (y + 4) % 8;
    int dist = std::abs(u - 4) + std::abs(v - 4);
    Colour c = dist <= 1 ? b : (dist == 3 ? Mix(a, b, 0.35) : a);
    if ((x + y) % 2 == 0)
        c = Scale(c, 0.96);
    return c;
}

Colour Checker(int x, int y) {
    bool odd = ((x / 16) + (y / 16)) % 2 != 0;
    Colour base = odd ? 0x8C8A84 : 0xA8A49A;
    return Tiled(x, y, 16, Mix(base, Scale(base, 1.06), 0.5 + Fbm(x, y, 81)), 0.6, base);
}

// Plates for the panel switches: a bevelled plate with four rivets.
Colour Panel(int x, int y, Colour base) {
    Colour c = Scale(base, 1.0 + 0.05 * std::sin(y * 2.1)); // brushed
    if (x == 0 || y == 0)
        return Scale(base, 0.6);
    if (x == 1 || y == 1)
        return Scale(base, 1.3);
    if (x == 31 || y == 31)
        return Scale(base, 0.75);
    if ((x == 4 || x == 27) && (y == 4 || y == 27))
        return Scale(base, 1.45);
    if ((x == 5 || x == 28) && (y == 5 || y == 28))
        return Scale(base, 0.65);
    return c;
}

Colour Marble(int x, int y) {
    double n = TileNoise(x, y, 16, 91) * 2 + TileNoise(x, y, 8, 92);
    double vein = std::fabs(std::sin((x + y * 0.5 + n * 8.0) * 2 * M_PI / 16.0));
    Colour c = Mix(0xD8D4CC, 0xE8E4DC, Fbm(x, y, 93) + 0.5);
    if (vein < 0.12)
        return Mix(c, 0x8E8A88, 0.45);
    return Tiled(x, y, 32, c, 0.5, 0xE0DCD4);
}

Colour Hexagons(int x, int y) {
    // Hexagon centres on a lattice that repeats every 32 pixels.
    static const double pts[][2] = {{0, 0}, {16, 0}, {8, 16}, {24, 16}};
    double best = 1e9, second = 1e9;
    int id = 0;
    for (int i = 0; i < 4; ++i) {
        double dx = Wrap(x + 0.5, pts[i][0]), dy = Wrap(y + 0.5, pts[i][1]);
        double d = std::max(dx * 0.866 + dy * 0.5, dy) * 1.0 + 0.0 * dx;
        d = std::max(d, dx);
        if (d < best) {
            second = best;
            best = d;
            id = i;
        } else if (d < second) {
            second = d;
        }
    }
    Colour base = id % 2 ? 0x3E7A78 : 0x468680;
    if (second - best < 1.0)
        return 0x2A5452;
    return Mix(base, Scale(base, 1.1), 0.5 + Fbm(x, y, 101));
}

Colour BrickPaving(int x, int y) {
    int row = y / 8;
    int u = (x + (row % 2) * 8) % 16, v = y % 8;
    Colour base = Mix(0xA0543A, 0xB66848, Hash(((x + (row % 2) * 8) / 16) % 2, row, 111));
    if (u == 0 || v == 0)
        return 0x7A6A60;
    if (u == 1 || v == 1)
        return Scale(base, 1.12);
    return Mix(base, Scale(base, 0.92), 0.5 + Fbm(x, y, 112));
}

Colour Snow(int x, int y) {
    Colour c = Mix(0xDCE6F0, 0xF2F6FC, 0.5 + Fbm(x, y, 121) * 1.5);
    if (Hash(x, y, 122) > 0.975)
        return 0xFFFFFF;
    if (Hash(x, y, 123) > 0.97)
        return 0xB8C8DC;
    return c;
}

Colour Parquet(int x, int y) {
    bool across = ((x / 16) + (y / 16)) % 2 == 0;
    int along = across ? y % 16 : x % 16;
    int strip = along / 4, w = along % 4;
    Colour base = Mix(0xA8733E, 0xC08848, Hash(strip, (x / 16) * 2 + y / 16, 131));
    if (w == 3)
        return Scale(base, 0.75);
    if ((across ? x % 16 : y % 16) == 0)
        return Scale(base, 0.8);
    return Mix(base, Scale(base, 0.93), 0.5 + Fbm(x, y, 132));
}

Colour Moss(int x, int y) {
    Colour stone = Stones(x, y, 9, 141, 0x3E4A38, 0x5E6A54, 0x6A7460, 1.0);
    double m = TileNoise(x, y, 16, 142) + 0.5 * TileNoise(x, y, 4, 143);
    if (m > 1.05)
        return Mix(stone, 0x5E8A3C, 0.55);
    return stone;
}

Colour Terracotta(int x, int y) {
    Colour base = Mix(0xB86A40, 0xC87A4C, 0.5 + Fbm(x, y, 151));
    return Tiled(x, y, 16, base, 1.0, 0xC07244);
}

Colour Dirt(int x, int y) {
    Colour c = Mix(0x6E5034, 0x86643E, 0.5 + Fbm(x, y, 161) * 1.4);
    if (Hash(x, y, 162) > 0.96)
        return 0x9A7A54;
    if (Hash(x, y, 163) > 0.96)
        return 0x543C26;
    return c;
}

Colour Gravel(int x, int y) {
    Cellular v = Voronoi(x, y, 36, 171);
    if (v.d1 > 3.2 || v.d2 - v.d1 < 0.7)
        return 0x767268;
    Colour c = Mix(0x8C887E, 0xA09C92, Hash(v.id, 9, 171));
    return v.d1 < 1.0 ? Scale(c, 1.08) : c;
}

} // namespace

CCanvas FloorTile(int code) {
    switch (code) {
    case 64:
        return Tile(Plain);
    case 65:
        return Tile(Water);
    case 66:
        return Tile(Ice);
    case 67:
        return Tile(Grass);
    case 68:
        return Tile(Sand);
    case 69:
        return Tile(
            [](int x, int y) { return Stones(x, y, 4, 69, 0x5A544C, 0x8E867A, 0xA49A8A, 1.0); });
    case 70:
        return Tile(Planks);
    case 71:
        return Tile([](int x, int y) { return Metal(x, y, 0x7C848E); });
    case 72:
        return Tile([](int x, int y) { return Carpet(x, y, 0x8A2430, 0xB0443C); });
    case 73:
        return Tile([](int x, int y) { return Carpet(x, y, 0x283C78, 0x40609A); });
    case 74:
        return Tile(Checker);
    case 75:
        return Tile([](int x, int y) { return Panel(x, y, 0x4E6A56); });
    case 76:
        return Tile(
            [](int x, int y) { return Stones(x, y, 9, 76, 0x4A4640, 0x7A7672, 0x928C84, 1.4); });
    case 77:
        return Tile(Dirt);
    case 78:
        return Tile(Gravel);
    case 79:
        return Tile(Marble);
    case 80:
        return Tile(Hexagons);
    case 81:
        return Tile(BrickPaving);
    case 82:
        return Tile(Snow);
    case 83:
        return Tile(Parquet);
    case 84:
        return Tile(Moss);
    case 85:
        return Tile(Terracotta);
    case 86:
        return Tile([](int x, int y) { return Panel(x, y, 0x6E5A3C); });
    case 87:
        return Tile([](int x, int y) { return Panel(x, y, 0x44587A); });
    default:
        return CCanvas(CELL, CELL, pal::DARK_TILE);
    }
}

void PaintFloors(CSheet& full) {
    for (int code = 64; code <= 87; ++code)
        full.Put(code, FloorTile(code));
}

} // namespace sp
