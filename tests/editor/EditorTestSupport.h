// Helpers of the editor tests: byte-exact field comparison, palette entries by index, scratch
// folders.
#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "editor/PaletteEntry.h"
#include "field/GameField.h"

namespace kxtest {

inline bool SameField(const kx::CGameFieldBase& a, const kx::CGameFieldBase& b) {
    return a.width == b.width && a.height == b.height && a.description == b.description &&
           a.cells.size() == b.cells.size() &&
           std::memcmp(a.cells.data(), b.cells.data(), a.cells.size() * sizeof(kx::FieldCell)) == 0;
}

inline kx::CGameFieldBase Copy(const kx::CGameFieldBase& f) {
    kx::CGameFieldBase c;
    c.description = f.description;
    c.width = f.width;
    c.height = f.height;
    c.cells = f.cells;
    return c;
}

inline const kx::PaletteEntry& Entry(int index) {
    static const std::vector<kx::PaletteEntry> table = kx::BuildPalette();
    return table.at(static_cast<size_t>(index));
}

} // namespace kxtest

namespace kxtest {
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace kxtest
