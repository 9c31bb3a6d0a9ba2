// The palette table: walls, ground kinds, passability, items, creatures, objects and switches.
#include "editor/PaletteEntry.h"

#include "editor/CellNames.h"

#include "storage/Error.h"
#include "storage/TextCodec.h"

namespace kx {
namespace {

// The name that tooltips and the status bar show; the removing and passage entries keep
// their description.
std::string ReadableName(const PaletteEntry& e, std::string_view description) {
    if (e.code == 255) {
        return std::string(description);
    }
    switch (e.kind) {
    case KindGround:
        return GroundName(e.code);
    case KindObject:
        return ObjectName(e.code);
    case KindItem:
        return ItemName(e.code);
    case KindCreature:
        return CreatureName(e.code);
    case KindSwitch:
        return SwitchName(e.code, (e.orMask & FLAG_SWITCH) != 0);
    default:
        return std::string(description);
    }
}

class CPaletteBuilder {
public:
    explicit CPaletteBuilder(std::vector<PaletteEntry>& entries) : entries(entries) {}

    // description in UTF-8; it is stored in Windows-1252.
    void Add(std::string_view description, uint8_t kind, int code, int andMask, int orMask,
             int background, int overlay) {
        if (entries.size() >= static_cast<size_t>(kPaletteCapacity)) {
            return;
        }
        PaletteEntry e;
        e.kind = kind;
        e.code = static_cast<uint8_t>(code);
        e.andMask = static_cast<uint8_t>(andMask);
        e.orMask = static_cast<uint8_t>(orMask);
        e.backgroundIcon = static_cast<uint8_t>(background);
        e.overlayIcon = static_cast<uint8_t>(overlay);
        e.description = T(description);
        e.name = T(ReadableName(e, description));
        entries.push_back(std::move(e));
    }

private:
    std::vector<PaletteEntry>& entries;
};

} // namespace

std::vector<PaletteEntry> BuildPalette() {
    std::vector<PaletteEntry> entries;
    entries.reserve(kPaletteCapacity);
    CPaletteBuilder b(entries);
    for (int n = 0; n <= 39; ++n) {
        b.Add(FormatString("Mauer #%d", n), KindGround, n, 255, 6, n, 255);
    }
    for (int n = 0; n <= 23; ++n) {
        b.Add(FormatString("Untergrund #%d", n), KindGround, 64 + n, 249, 0, 64 + n, 255);
    }
    b.Add("Untergrund entfernen", KindGround, 255, 249, 0, 127, 255);
    b.Add("Würmer dürfen da nicht entlang", KindPassage, 0, 255, 2, 0, 248);
    b.Add("Würmer dürfen da entlang", KindPassage, 0, 253, 0, 64, 248);
    b.Add("Geister dürfen da nicht entlang", KindPassage, 0, 255, 4, 0, 249);
    b.Add("Geister dürfen da entlang", KindPassage, 0, 251, 0, 64, 249);
    b.Add("Ding entfernen", KindItem, 255, 255, 0, 64, 128);
    static constexpr const char* kItems[] = {
        "Korn (länger)",     "Anti-Korn (kürzer)", "Wurm schneller", "Wurm langsamer",
        "Geister schneller", "Geister langsamer",  "Geist-Killer",   "Geisterlarve"};
    for (int n = 0; n < 8; ++n) {
        b.Add(kItems[n], KindItem, n, 255, 0, 64, 128 + n);
    }
    b.Add("Lebewesen entfernen", KindCreature, 255, 255, 0, 64, 147);
    b.Add("Wurm", KindCreature, 3, 255, 0, 64, 147);
    b.Add("Anfangs aktiver Wurm", KindCreature, 5, 255, 0, 64, 149);
    b.Add("Wurmkörper", KindCreature, 2, 255, 0, 64, 146);
    b.Add("Geist", KindCreature, 0, 255, 0, 64, 144);
    b.Add("Objekt entfernen", KindObject, 255, 255, 0, 64, 6);
    b.Add("Kaktus", KindObject, 6, 255, 0, 64, 6);
    static constexpr const char* kTurnsAndArrows[] = {"Linksdrehung",    "Rechtsdrehung",
                                                      "Richtung: Links", "Richtung: Rechts",
                                                      "Richtung: Hoch",  "Richtung: Runter"};
    for (int n = 0; n < 6; ++n) {
        b.Add(kTurnsAndArrows[n], KindObject, n, 255, 0, 64, n);
    }
    for (int n = 0; n <= 3; ++n) {
        b.Add("Geisterzaun", KindObject, 56 + n, 255, 4, 64, 56 + n);
    }
    for (int n = 0; n <= 2; ++n) {
        b.Add("Ausgeschalteter Geisterzaun", KindObject, 60 + n, 255, 4, 64, 60 + n);
    }
    for (int n = 0; n <= 9; ++n) {
        b.Add("Block", KindObject, 16 + n, 255, 6, 64, 16 + n);
    }
    static constexpr const char* kBorders[] = {"Rand oben", "Rand unten", "Rand links",
                                               "Rand rechts"};
    for (int m = 0; m < 3; ++m) {
        for (int side = 0; side < 4; ++side) {
            const int code = 64 + 4 * m + side;
            b.Add(kBorders[side], KindObject, code, 255, 0, 64, code);
        }
    }
    for (int n = 0; n <= 1; ++n) {
        b.Add("Ente", KindObject, 120 + n, 255, 0, 64, 120 + n);
    }
    for (int n = 0; n <= 17; ++n) {
        b.Add("Schalter", KindObject, 32 + n, 255, 0, 64, 32 + n);
    }
    b.Add("Schalter", KindObject, 50, 255, 0, 87, 50);
    b.Add("Schalter", KindObject, 51, 255, 0, 75, 51);
    b.Add("Schalter", KindObject, 52, 255, 0, 86, 52);
    b.Add("Schalter entfernen", KindSwitch, 255, 254, 0, 64, 32);
    for (int n = 0; n <= 50; ++n) {
        b.Add(FormatString("Schalter #%d", n), KindSwitch, n, 255, 1, 64, 32);
        b.Add(FormatString("Geschaltetes Feld #%d", n), KindSwitch, n, 254, 0, 64, 32);
    }
    return entries;
}

} // namespace kx
