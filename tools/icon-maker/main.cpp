// icon-maker: the two programs' desktop icons, composed from the sprite sheets at every size.
#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"
#include "storage/Error.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using kx::Colour;

// Straight RGBA, top row first.
struct Picture {
    int size = 0;
    std::vector<uint8_t> rgba;
};

struct Placement {
    bool trans; // false: "imgfull", true: "imgtrans"
    int index;
    int column;
    int row;
};

// One icon: its small design (a single cell, legible at 16 to 32 pixels) and its large
// design (two by two cells).
struct IconDesign {
    const char* name;
    std::vector<Placement> small;
    std::vector<Placement> large;
};

const std::vector<IconDesign>& Designs() {
    // Sheet indexes: imgfull 67 grass, 64 plain ground, 1 and 3 a red bar; imgtrans 146 worm
    // body, 147 worm head, 253 corn, 251 the editor's rectangle marker.
    static const std::vector<IconDesign> designs = {
        {"krawlix",
         {{false, 67, 0, 0}, {true, 147, 0, 0}},
         {{false, 67, 0, 0},
          {false, 67, 1, 0},
          {false, 67, 0, 1},
          {false, 67, 1, 1},
          {true, 253, 1, 0},
          {true, 146, 0, 1},
          {true, 147, 1, 1}}},
        {"krawlix-editor",
         {{false, 64, 0, 0}, {true, 147, 0, 0}, {true, 251, 0, 0}},
         {{false, 1, 0, 0},
          {false, 3, 1, 0},
          {false, 64, 0, 1},
          {false, 64, 1, 1},
          {true, 253, 0, 1},
          {true, 147, 1, 1},
          {true, 251, 1, 1}}},
    };
    return designs;
}

Picture Compose(const std::vector<Placement>& cells, int cellsAcross, const kx::CImageList24& full,
                const kx::CImageList24& trans) {
    kx::CDrawDevice24 surface;
    const int side = 32 * cellsAcross;
    surface.Create(side, side);
    surface.Clear(0x000000);
    for (const Placement& p : cells) {
        (p.trans ? trans : full).DrawCell(surface, 32 * p.column, 32 * p.row, p.index);
    }
    Picture picture{side, std::vector<uint8_t>(static_cast<size_t>(side) * side * 4)};
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const Colour c = surface.GetPixel(x, y);
            uint8_t* out = &picture.rgba[(static_cast<size_t>(y) * side + x) * 4];
            out[0] = static_cast<uint8_t>(c >> 16);
            out[1] = static_cast<uint8_t>(c >> 8);
            out[2] = static_cast<uint8_t>(c);
            out[3] = 255;
        }
    }
    return picture;
}

// Pixel art: whole multiples repeat pixels; smaller sizes average the covered area.
Picture Scale(const Picture& source, int size) {
    Picture out{size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
    const double ratio = static_cast<double>(source.size) / size;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum[4] = {0, 0, 0, 0};
            double weight = 0;
            const double x0 = x * ratio, x1 = (x + 1) * ratio;
            const double y0 = y * ratio, y1 = (y + 1) * ratio;
            for (int sy = static_cast<int>(y0); sy < std::min<double>(y1, source.size); ++sy) {
                const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
                for (int sx = static_cast<int>(x0); sx < std::min<double>(x1, source.size); ++sx) {
                    const double wx = std::min<double>(sx + 1, x1) - std::max<double>(sx, x0);
                    const uint8_t* p =
                        &source.rgba[(static_cast<size_t>(sy) * source.size + sx) * 4];
                    for (int k = 0; k < 4; ++k) {
                        sum[k] += p[k] * wx * wy;
                    }
                    weight += wx * wy;
                }
            }
            uint8_t* q = &out.rgba[(static_cast<size_t>(y) * size + x) * 4];
            for (int k = 0; k < 4; ++k) {
                q[k] = static_cast<uint8_t>(std::lround(sum[k] / weight));
            }
        }
    }
    return out;
}

// Rounds the corners with a soft edge, so the tile reads as an icon, not a screenshot.
void RoundCorners(Picture& picture) {
    const double n = picture.size;
    const double radius = n * 0.125;
    for (int y = 0; y < picture.size; ++y) {
        for (int x = 0; x < picture.size; ++x) {
            const double cx = std::clamp(x + 0.5, radius, n - radius);
            const double cy = std::clamp(y + 0.5, radius, n - radius);
            const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double coverage = std::clamp(radius - distance + 0.5, 0.0, 1.0);
            uint8_t& alpha = picture.rgba[(static_cast<size_t>(y) * picture.size + x) * 4 + 3];
            alpha = static_cast<uint8_t>(std::lround(alpha * coverage));
        }
    }
}

bool WriteRgbaPng(const std::string& path, const Picture& picture) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png != nullptr && info != nullptr;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(picture.size),
                     static_cast<png_uint_32>(picture.size), 8, PNG_COLOR_TYPE_RGBA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < picture.size; ++y) {
            png_write_row(png, &picture.rgba[static_cast<size_t>(y) * picture.size * 4]);
        }
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: icon-maker IMGFULL.bmp IMGTRANS.bmp OUTDIR\n"
                             "writes OUTDIR/NAME-SIZE.png for krawlix and krawlix-editor\n");
        return 2;
    }
    kx::CImageList24 full;
    kx::CImageList24 trans;
    try {
        if (!full.LoadSheetFile(argv[1], 32, 32, kx::kNoTransparentColour) ||
            !trans.LoadSheetFile(argv[2], 32, 32, 0xFF00FF)) {
            std::fprintf(stderr, "icon-maker: the sprite sheets cannot be read\n");
            return 1;
        }
    } catch (const kx::CTBException& e) {
        std::fprintf(stderr, "icon-maker: %s\n", e.GetErrorText().c_str());
        return 1;
    }
    const std::string outDir = argv[3];
    for (const IconDesign& design : Designs()) {
        const Picture small = Compose(design.small, 1, full, trans);
        const Picture large = Compose(design.large, 2, full, trans);
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            Picture icon = Scale(size <= 32 ? small : large, size);
            RoundCorners(icon);
            const std::string path =
                outDir + "/" + design.name + "-" + std::to_string(size) + ".png";
            if (!WriteRgbaPng(path, icon)) {
                std::fprintf(stderr, "icon-maker: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
