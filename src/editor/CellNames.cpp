// German names of grounds, walls, objects, items, creatures and switches, and the pick rule.
#include "editor/CellNames.h"

#include "storage/Error.h"

namespace kx {
namespace {

constexpr uint8_t kNone = 255;

const char* const kWallColours[] = {"rot", "gelb", "grün", "blau", "hellblau"};
const char* const kWallPieces[] = {"einzeln",      "linkes Ende", "waagrechte Mitte",
                                   "rechtes Ende", "oberes Ende", "senkrechte Mitte",
                                   "unteres Ende", "Noppenplatte"};
// Floors 64 to 87, as the sprite sheet paints them.
const char* const kFloors[] = {"Boden",
                               "Wasser",
                               "Eis",
                               "Gras",
                               "Sand",
                               "Pflastersteine",
                               "Holzdielen",
                               "Metallplatten",
                               "Teppich rot",
                               "Teppich blau",
                               "Schachbrett",
                               "Schaltpult grün",
                               "Feldsteine",
                               "Erde",
                               "Kies",
                               "Marmor",
                               "Sechseckfliesen",
                               "Klinkerpflaster",
                               "Schnee",
                               "Parkett",
                               "Moos",
                               "Terrakotta",
                               "Schaltpult braun",
                               "Schaltpult blau"};
const char* const kTurnsAndArrows[] = {"Linksdrehung",     "Rechtsdrehung",  "Richtung: Links",
                                       "Richtung: Rechts", "Richtung: Hoch", "Richtung: Runter"};
const char* const kBlocks[] = {"Kiste", "Steinblock",  "Stahlkiste", "Eiswürfel", "Goldblock",
                               "Fass",  "Felsbrocken", "Heuballen",  "Geschenk",  "Bauklotz"};
// Switch pictures 32 to 49 come in pairs: off, then on.
const char* const kSwitchPictures[] = {"Hebel rot",         "Hebel grün",      "Hebel blau",
                                       "Knopf rot",         "Knopf gelb",      "Knopf hellblau",
                                       "Drehregler orange", "Drehregler lila", "Lampe"};
const char* const kFenceShapes[] = {"waagrecht", "senkrecht", "Kreuzung", "Pfosten"};
const char* const kBorderSides[] = {"Rand oben", "Rand unten", "Rand links", "Rand rechts"};
const char* const kBorderSets[] = {"Bordstein", "Warnstreifen", "Hecke"};
const char* const kItems[] = {"Korn (länger)",  "Anti-Korn (kürzer)", "Wurm schneller",
                              "Wurm langsamer", "Geister schneller",  "Geister langsamer",
                              "Geist-Killer",   "Geisterlarve"};

int32_t FindEntry(const std::vector<PaletteEntry>& entries, uint8_t kind, uint8_t code) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].kind == kind && entries[i].code == code) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

} // namespace

std::string GroundName(uint8_t code) {
    if (code < 40) {
        return FormatString("Mauer %s, %s", kWallColours[code / 8], kWallPieces[code % 8]);
    }
    if (code >= 64 && code < 88) {
        return kFloors[code - 64];
    }
    if (code == kNone) {
        return "kein Untergrund";
    }
    return FormatString("Untergrund %d", code);
}

std::string ObjectName(uint8_t code) {
    if (code < 6) {
        return kTurnsAndArrows[code];
    }
    if (code == 6) {
        return "Kaktus";
    }
    if (code >= 16 && code <= 25) {
        return FormatString("Block, %s", kBlocks[code - 16]);
    }
    if (code >= 32 && code <= 49) {
        return FormatString("Schalterbild %s, %s", kSwitchPictures[(code - 32) / 2],
                            (code - 32) % 2 == 0 ? "aus" : "an");
    }
    if (code == 50) {
        return "Schalterbild Pilzknopf";
    }
    if (code == 51) {
        return "Schalterbild Wippe";
    }
    if (code == 52) {
        return "Schalterbild Schlüssel";
    }
    if (code >= 56 && code <= 59) {
        return FormatString("Geisterzaun, %s", kFenceShapes[code - 56]);
    }
    if (code >= 60 && code <= 62) {
        return FormatString("Geisterzaun aus, %s", kFenceShapes[code - 60]);
    }
    if (code >= 64 && code <= 75) {
        return FormatString("%s, %s", kBorderSides[(code - 64) % 4], kBorderSets[(code - 64) / 4]);
    }
    if (code == 120) {
        return "Ente gelb";
    }
    if (code == 121) {
        return "Ente weiß";
    }
    return FormatString("Objekt %d", code);
}

std::string ItemName(uint8_t code) {
    return code < 8 ? std::string(kItems[code]) : FormatString("Ding %d", code);
}

std::string CreatureName(uint8_t code) {
    switch (code) {
    case 0:
    case 1:
        return "Geist";
    case 2:
        return "Wurmkörper";
    case 3:
    case 4:
        return "Wurm";
    case 5:
        return "Anfangs aktiver Wurm";
    default:
        return FormatString("Lebewesen %d", code);
    }
}

std::string SwitchName(uint8_t number, bool isSwitch) {
    return isSwitch ? FormatString("Schalter %d", number)
                    : FormatString("Schalter %d, Fläche", number);
}

std::string DescribeCell(const FieldCell& cell, FieldLayer layer) {
    const bool sw = layer == FieldLayer::Switch;
    const uint8_t ground = sw ? cell.swGround : cell.ground;
    const uint8_t* objects = sw ? cell.swObjects : cell.objects;
    const uint8_t item = sw ? cell.swItem : cell.item;
    const uint8_t flags = sw ? cell.swFlags : cell.flags;
    std::string text = GroundName(ground);
    auto add = [&text](const std::string& part) { text += ", " + part; };
    for (int i = 0; i < kObjectSlots; ++i) {
        if (objects[i] != kNone) {
            add(ObjectName(objects[i]));
        }
    }
    if (item != kNone) {
        add(ItemName(item));
    }
    if (!sw && cell.creature != kNone) {
        add(CreatureName(cell.creature));
    }
    if (cell.switchNo != kNone) {
        add(SwitchName(cell.switchNo, (flags & FLAG_SWITCH) != 0));
    }
    // Walls and blocks block by themselves; say it only where nothing shown explains it.
    const bool wallOrBlock = ground < 40 || [&] {
        for (int i = 0; i < kObjectSlots; ++i) {
            if (objects[i] >= 16 && objects[i] <= 25) {
                return true;
            }
        }
        return false;
    }();
    if (!wallOrBlock && (flags & FLAG_NO_WORMS) != 0) {
        add("für Würmer gesperrt");
    }
    if (!wallOrBlock && (flags & FLAG_NO_GHOSTS) != 0) {
        add("für Geister gesperrt");
    }
    return text;
}

int32_t PickPaletteIndex(const std::vector<PaletteEntry>& entries, const FieldCell& cell,
                         FieldLayer layer, const PickVisibility& shown) {
    const bool sw = layer == FieldLayer::Switch;
    const uint8_t flags = sw ? cell.swFlags : cell.flags;
    if (shown.switches && cell.switchNo != kNone) {
        // The switch entries come in pairs: the switch sets bit 0, its field clears it.
        const bool isSwitch = (flags & FLAG_SWITCH) != 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            const PaletteEntry& e = entries[i];
            if (e.kind == KindSwitch && e.code == cell.switchNo &&
                ((e.orMask & FLAG_SWITCH) != 0) == isSwitch) {
                return static_cast<int32_t>(i);
            }
        }
    }
    if (!sw && shown.creatures && cell.creature != kNone) {
        // A marked ghost and a leaving head are placed as the plain ones.
        const uint8_t code = cell.creature == 1 ? 0 : cell.creature == 4 ? 3 : cell.creature;
        if (const int32_t i = FindEntry(entries, KindCreature, code); i >= 0) {
            return i;
        }
    }
    const uint8_t item = sw ? cell.swItem : cell.item;
    if (shown.items && item != kNone) {
        if (const int32_t i = FindEntry(entries, KindItem, item); i >= 0) {
            return i;
        }
    }
    const uint8_t* objects = sw ? cell.swObjects : cell.objects;
    if (shown.objects) {
        for (int slot = kObjectSlots - 1; slot >= 0; --slot) {
            if (objects[slot] != kNone) {
                if (const int32_t i = FindEntry(entries, KindObject, objects[slot]); i >= 0) {
                    return i;
                }
                break;
            }
        }
    }
    return FindEntry(entries, KindGround, sw ? cell.swGround : cell.ground);
}

} // namespace kx
