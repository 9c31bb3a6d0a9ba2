// The wall base of a style name.
#include "editor/WallStyle.h"

#include <array>
#include <utility>

namespace kx {

std::optional<uint8_t> WallStyleBase(std::string_view name) {
    // Each name in UTF-8 and in Windows-1252 ("Gr\xFCn").
    static constexpr std::array<std::pair<std::string_view, uint8_t>, 6> kBases = {{
        {"Rot", 0},
        {"Gelb", 8},
        {"Gr\xC3\xBCn", 16},
        {"Gr\xFCn", 16},
        {"Blau", 24},
        {"Hellblau", 32},
    }};
    if (name == "Leer") {
        return std::nullopt;
    }
    for (const auto& [styleName, base] : kBases) {
        if (name == styleName) {
            return base;
        }
    }
    return uint8_t{0};
}

} // namespace kx
