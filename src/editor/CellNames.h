// Readable German names of what a cell can hold, for the palette's tooltips and the status bar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/PaletteEntry.h"
#include "field/GameField.h"

namespace kx {

// Each returns UTF-8; codes without a picture of their own get a plain numbered name.
std::string GroundName(uint8_t code);
std::string ObjectName(uint8_t code);
std::string ItemName(uint8_t code);
std::string CreatureName(uint8_t code);
// "Schalter N" for the switch itself, "Schalter N, Fläche" for a field it switches.
std::string SwitchName(uint8_t number, bool isSwitch);

// What the cell holds in the layer, topmost last: "Eis, Korn (länger), Schalter 3" (UTF-8).
std::string DescribeCell(const FieldCell& cell, FieldLayer layer);

// The palette index that places the cell's topmost element in the layer as the view shows it
// (hidden parts do not count): switch number, creature (normal layer only), item, the top
// object, then the ground. -1 when no entry places it.
struct PickVisibility {
    bool objects = true;
    bool items = true;
    bool creatures = true;
    bool switches = true;
};
int32_t PickPaletteIndex(const std::vector<PaletteEntry>& entries, const FieldCell& cell,
                         FieldLayer layer, const PickVisibility& shown);

} // namespace kx
