// The wall styles of new and resized fields, by the names the level dialogs offer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kx {

// The names in the New-level dialog's order (UTF-8). Both dialogs show them sorted.
inline constexpr std::array<std::string_view, 6> kNewLevelStyleNames = {"Leer", "Grün",     "Gelb",
                                                                        "Blau", "Hellblau", "Rot"};
// The names in the resize dialog's order (UTF-8).
inline constexpr std::array<std::string_view, 6> kResizeStyleNames = {"Rot",  "Grün",     "Gelb",
                                                                      "Blau", "Hellblau", "Leer"};
inline constexpr std::string_view kNewLevelDefaultStyle = "Rot";
inline constexpr std::string_view kResizeDefaultStyle = "Leer";
// Both dialogs accept sizes in this range and start the New-level dialog at 30 x 30.
inline constexpr int32_t kDialogMinSize = 3;
inline constexpr int32_t kDialogMaxSize = 1000;
inline constexpr int32_t kNewLevelDefaultSize = 30;

// The wall base of a style name (0, 8, 16, 24, 32), nullopt for "Leer". Names are
// compared exactly, in UTF-8 or Windows-1252 spelling; any other name counts as "Rot".
std::optional<uint8_t> WallStyleBase(std::string_view name);

} // namespace kx
