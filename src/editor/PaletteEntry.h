// PaletteEntry, the brush the editor's tools apply, and the table of all 246 entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

enum EntryKind : uint8_t {
    KindGround = 1,
    KindObject = 2,
    KindItem = 3,
    KindCreature = 4,
    KindSwitch = 5,
    KindPassage = 6,
};

struct PaletteEntry {
    uint8_t kind = 0;             // EntryKind
    uint8_t code = 255;           // the value written; 255 removes
    uint8_t backgroundIcon = 255; // "imgfull" icon; 255 = none (drawn magenta)
    uint8_t overlayIcon = 255;    // "imgtrans" icon; 255 = none
    uint8_t andMask = 255;        // new flags = (old AND andMask) OR orMask
    uint8_t orMask = 0;
    std::string description; // Windows-1252, "%d" already formatted
    // Windows-1252: what the entry places in readable words ("Mauer rot, einzeln", "Eis"),
    // for tooltips, the status bar and the view's caption of the selected entry.
    std::string name;

    uint8_t ApplyMasks(uint8_t flags) const {
        return static_cast<uint8_t>((flags & andMask) | orMask);
    }
};

inline constexpr int32_t kPaletteEntryCount = 246;
inline constexpr int32_t kPaletteCapacity = 256;

// The palette table in order; never more than kPaletteCapacity entries.
std::vector<PaletteEntry> BuildPalette();

} // namespace kx
