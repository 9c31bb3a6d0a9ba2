// Little-endian reading and writing of the .dxfont layout.
#include "DxFont.h"

#include <fstream>
#include <iterator>

namespace kxfont {

namespace {
void Put(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get(const std::vector<uint8_t>& in, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(in[at + i]) << (8 * i);
    return v;
}
} // namespace

std::vector<uint8_t> Serialize(const DxFont& font) {
    std::vector<uint8_t> out;
    out.reserve(kFontBytes);
    Put(out, static_cast<uint32_t>(font.nominalWidth));
    Put(out, static_cast<uint32_t>(font.lineHeight));
    for (const Glyph& g : font.glyphs) {
        Put(out, static_cast<uint32_t>(g.left));
        Put(out, static_cast<uint32_t>(g.top));
        Put(out, static_cast<uint32_t>(g.width));
        Put(out, static_cast<uint32_t>(g.height));
        for (uint32_t row : g.rows)
            Put(out, row);
    }
    return out;
}

bool Deserialize(const std::vector<uint8_t>& bytes, DxFont& font) {
    if (bytes.size() != kFontBytes)
        return false;
    font.nominalWidth = static_cast<int32_t>(Get(bytes, 0));
    font.lineHeight = static_cast<int32_t>(Get(bytes, 4));
    size_t at = 8;
    for (Glyph& g : font.glyphs) {
        g.left = static_cast<int32_t>(Get(bytes, at));
        g.top = static_cast<int32_t>(Get(bytes, at + 4));
        g.width = static_cast<int32_t>(Get(bytes, at + 8));
        g.height = static_cast<int32_t>(Get(bytes, at + 12));
        for (int r = 0; r < kCellSize; ++r)
            g.rows[r] = Get(bytes, at + 16 + 4 * r);
        at += kGlyphBytes;
    }
    return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace kxfont
