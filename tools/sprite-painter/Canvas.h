// Pixel canvas, shape masks and the shading helpers every sprite of the painter is made with.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace sp {

using Colour = std::uint32_t; // 0xRRGGBB

constexpr Colour KEY = 0xFF00FF;
constexpr Colour OUTLINE = 0x1C1C24;
constexpr int CELL = 32;

// Four shades of one material, darkest first.
struct Ramp {
    Colour shade, base, light, highlight;
};

int Red(Colour c);
int Green(Colour c);
int Blue(Colour c);
Colour Rgb(int r, int g, int b);
// Linear blend: t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, double t);
// Multiplies each channel by f (f > 1 brightens, clamped).
Colour Scale(Colour c, double f);

// A rectangle of colours. Sprite cells start filled with KEY.
class CCanvas {
public:
    CCanvas(int w, int h, Colour fill = KEY);
    int Width() const { return width; }
    int Height() const { return height; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Outside the canvas reads as KEY, so edge tests treat the border as empty.
    Colour Get(int x, int y) const;
    void Set(int x, int y, Colour c);
    void FillRect(int x0, int y0, int x1, int y1, Colour c);
    // Copies src with its top-left at (dx, dy); with keyed, KEY pixels of src are skipped.
    void Blit(const CCanvas& src, int dx, int dy, bool keyed = false);
    const std::vector<Colour>& Pixels() const { return pixels; }

private:
    int width, height;
    std::vector<Colour> pixels;
};

// A shape given as "is this point inside", in pixel units (pixel x covers [x, x+1)).
using Shape = std::function<bool(double, double)>;

Shape Circle(double cx, double cy, double r);
Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Box(double x0, double y0, double x1, double y1);
Shape RoundBox(double x0, double y0, double x1, double y1, double r);
Shape Polygon(std::vector<std::pair<double, double>> points);
// A thick line with round caps.
Shape Segment(double x0, double y0, double x1, double y1, double halfWidth);
// Band between radii r0 and r1, angles a0..a1 in degrees (0 = right, 90 = down).
Shape Arc(double cx, double cy, double r0, double r1, double a0, double a1);
Shape Union(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Moved(Shape s, double dx, double dy);

// Which pixels a shape covers: each pixel is sampled 4 x 4 times and counts as inside when
// at least half the samples are, so smooth shapes land on the grid with hard edges.
class CMask {
public:
    CMask(int w = CELL, int h = CELL) : width(w), height(h), bits(w * h, false) {}
    explicit CMask(const Shape& s, int w = CELL, int h = CELL);
    int Width() const { return width; }
    int Height() const { return height; }
    bool At(int x, int y) const;
    void Put(int x, int y, bool v);
    CMask& operator|=(const CMask& o);
    CMask& operator-=(const CMask& o);
    CMask& operator&=(const CMask& o);
    // Pixels of the mask that touch a pixel outside it (4-neighbourhood).
    CMask Edge() const;
    // The mask grown by one pixel (4-neighbourhood).
    CMask Grown() const;
    bool Empty() const;

private:
    int width, height;
    std::vector<bool> bits;
};

void Fill(CCanvas& c, const CMask& m, Colour col);
// Flat fill with light from the top left: a highlight pixel where the pixel above or to the
// left is outside the mask, shade where the pixel below or right is (two pixels deep if
// shadeDepth is 2).
void Bevel(CCanvas& c, const CMask& m, const Ramp& r, int shadeDepth = 1);
// Ball shading of a mask whose shape is roughly the ellipse (cx, cy, rx, ry).
void Sphere(CCanvas& c, const CMask& m, const Ramp& r, double cx, double cy, double rx, double ry);
// Dark one-pixel outline around every non-key pixel (4-neighbourhood) of a sprite.
void Outline(CCanvas& c, Colour col = OUTLINE);
// Keeps about `keep` (0..1) of the mask's pixels in an ordered dither pattern.
CMask Dither(const CMask& m, double keep, int phase = 0);

// Deterministic hash noise for textures; period-wrapped so tiles repeat seamlessly.
double Hash(int x, int y, int seed);
// Smooth value noise in 0..1 with the given lattice period in pixels (a divisor of 32).
double TileNoise(double x, double y, int period, int seed);

} // namespace sp
