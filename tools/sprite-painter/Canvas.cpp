// Pixel canvas, shape masks and shading helpers of the sprite painter.
#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace sp {

int Red(Colour c) {
    return (c >> 16) & 0xFF;
}
int Green(Colour c) {
    return (c >> 8) & 0xFF;
}
int Blue(Colour c) {
    return c & 0xFF;
}

Colour Rgb(int r, int g, int b) {
    auto clamp = [](int v) { return static_cast<Colour>(std::clamp(v, 0, 255)); };
    return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

Colour Mix(Colour a, Colour b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return Rgb(lerp(Red(a), Red(b)), lerp(Green(a), Green(b)), lerp(Blue(a), Blue(b)));
}

Colour Scale(Colour c, double f) {
    auto mul = [f](int v) { return static_cast<int>(std::lround(v * f)); };
    return Rgb(mul(Red(c)), mul(Green(c)), mul(Blue(c)));
}

CCanvas::CCanvas(int w, int h, Colour fill) : width(w), height(h), pixels(w * h, fill) {}

Colour CCanvas::Get(int x, int y) const {
    return Inside(x, y) ? pixels[y * width + x] : KEY;
}

void CCanvas::Set(int x, int y, Colour c) {
    if (Inside(x, y))
        pixels[y * width + x] = c;
}

void CCanvas::FillRect(int x0, int y0, int x1, int y1, Colour c) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            Set(x, y, c);
}

void CCanvas::Blit(const CCanvas& src, int dx, int dy, bool keyed) {
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x) {
            Colour c = src.Get(x, y);
            if (!keyed || c != KEY)
                Set(dx + x, dy + y, c);
        }
}

Shape Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Shape Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        double u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1.0;
    };
}

Shape Box(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape RoundBox(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        double dx = std::max({x0 + r - x, 0.0, x - (x1 - r)});
        double dy = std::max({y0 + r - y, 0.0, y - (y1 - r)});
        return dx * dx + dy * dy <= r * r;
    };
}

Shape Polygon(std::vector<std::pair<double, double>> pts) {
    return [pts = std::move(pts)](double x, double y) {
        bool in = false;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            auto [xi, yi] = pts[i];
            auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                in = !in;
        }
        return in;
    };
}

Shape Segment(double x0, double y0, double x1, double y1, double hw) {
    return [=](double x, double y) {
        double dx = x1 - x0, dy = y1 - y0;
        double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0, 1.0) : 0.0;
        double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= hw * hw;
    };
}

Shape Arc(double cx, double cy, double r0, double r1, double a0, double a1) {
    return [=](double x, double y) {
        double d = std::hypot(x - cx, y - cy);
        if (d < r0 || d > r1)
            return false;
        double a = std::atan2(y - cy, x - cx) * 180.0 / M_PI;
        while (a < a0)
            a += 360.0;
        while (a >= a0 + 360.0)
            a -= 360.0;
        return a <= a1;
    };
}

Shape Union(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}
Shape Minus(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}
Shape Intersect(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}
Shape Moved(Shape s, double dx, double dy) {
    return [=](double x, double y) { return s(x - dx, y - dy); };
}

CMask::CMask(const Shape& s, int w, int h) : CMask(w, h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += s(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0) ? 1 : 0;
            bits[y * w + x] = hits >= 8;
        }
}

bool CMask::At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && bits[y * width + x];
}

void CMask::Put(int x, int y, bool v) {
    if (x >= 0 && y >= 0 && x < width && y < height)
        bits[y * width + x] = v;
}

CMask& CMask::operator|=(const CMask& o) {
    for (std::size_t i = 0; i < bits.size() && i < o.bits.size(); ++i)
        bits[i] = bits[i] || o.bits[i];
    return *this;
}
CMask& CMask::operator-=(const CMask& o) {
    for (std::size_t i = 0; i < bits.size() && i < o.bits.size(); ++i)
        bits[i] = bits[i] && !o.bits[i];
    return *this;
}
CMask& CMask::operator&=(const CMask& o) {
    for (std::size_t i = 0; i < bits.size() && i < o.bits.size(); ++i)
        bits[i] = bits[i] && o.bits[i];
    return *this;
}

CMask CMask::Edge() const {
    CMask e(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (At(x, y) && (!At(x - 1, y) || !At(x + 1, y) || !At(x, y - 1) || !At(x, y + 1)))
                e.Put(x, y, true);
    return e;
}

CMask CMask::Grown() const {
    CMask g(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (At(x, y) || At(x - 1, y) || At(x + 1, y) || At(x, y - 1) || At(x, y + 1))
                g.Put(x, y, true);
    return g;
}

bool CMask::Empty() const {
    return std::none_of(bits.begin(), bits.end(), [](bool b) { return b; });
}

void Fill(CCanvas& c, const CMask& m, Colour col) {
    for (int y = 0; y < m.Height(); ++y)
        for (int x = 0; x < m.Width(); ++x)
            if (m.At(x, y))
                c.Set(x, y, col);
}

void Bevel(CCanvas& c, const CMask& m, const Ramp& r, int shadeDepth) {
    for (int y = 0; y < m.Height(); ++y)
        for (int x = 0; x < m.Width(); ++x) {
            if (!m.At(x, y))
                continue;
            Colour col = r.base;
            bool lit = !m.At(x - 1, y) || !m.At(x, y - 1);
            bool dark = !m.At(x + 1, y) || !m.At(x, y + 1);
            bool dark2 = shadeDepth > 1 && (!m.At(x + 2, y) || !m.At(x, y + 2));
            if (dark)
                col = r.shade;
            else if (lit)
                col = r.highlight;
            else if (dark2)
                col = Mix(r.shade, r.base, 0.5);
            else if (!m.At(x - 2, y) || !m.At(x, y - 2))
                col = r.light;
            c.Set(x, y, col);
        }
}

void Sphere(CCanvas& c, const CMask& m, const Ramp& r, double cx, double cy, double rx, double ry) {
    // Light from the top left and a little from the front.
    const double lx = -0.55, ly = -0.6, lz = 0.58;
    for (int y = 0; y < m.Height(); ++y)
        for (int x = 0; x < m.Width(); ++x) {
            if (!m.At(x, y))
                continue;
            double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            double d2 = std::min(u * u + v * v, 1.0);
            double w = std::sqrt(1.0 - d2);
            double lum = u * lx + v * ly + w * lz;
            Colour col = lum > 0.93   ? r.highlight
                         : lum > 0.62 ? r.light
                         : lum > 0.12 ? r.base
                                      : r.shade;
            c.Set(x, y, col);
        }
}

void Outline(CCanvas& c, Colour col) {
    CCanvas src = c;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (src.Get(x, y) != KEY)
                continue;
            auto solid = [&](int u, int v) { return src.Inside(u, v) && src.Get(u, v) != KEY; };
            if (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1))
                c.Set(x, y, col);
        }
}

CMask Dither(const CMask& m, double keep, int phase) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    CMask d(m.Width(), m.Height());
    for (int y = 0; y < m.Height(); ++y)
        for (int x = 0; x < m.Width(); ++x)
            if (m.At(x, y) && (bayer[(y + phase) & 3][(x + phase) & 3] + 0.5) / 16.0 < keep)
                d.Put(x, y, true);
    return d;
}

double Hash(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / static_cast<double>(0x1000000);
}

double TileNoise(double x, double y, int period, int seed) {
    int cells = CELL / period;
    double gx = x / period, gy = y / period;
    int ix = static_cast<int>(std::floor(gx)), iy = static_cast<int>(std::floor(gy));
    double fx = gx - ix, fy = gy - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    auto at = [&](int u, int v) {
        return Hash(((u % cells) + cells) % cells, ((v % cells) + cells) % cells, seed);
    };
    double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy;
}

} // namespace sp
