// Decompiles a game field into a level source: one character per kind of cell.
#include "levelsource/LevelSourceWriter.h"

#include <array>
#include <cstring>
#include <map>
#include <string_view>

#include "levelsource/LevelSource.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

using CellKey = std::array<uint8_t, sizeof(FieldCell)>;

CellKey KeyOf(const FieldCell& cell) {
    CellKey key;
    std::memcpy(key.data(), &cell, sizeof cell);
    return key;
}

std::string Stack(const uint8_t (&slots)[kObjectSlots]) {
    int used = kObjectSlots;
    while (used > 0 && slots[used - 1] == kNothing)
        --used;
    std::string text;
    for (int i = 0; i < used; ++i)
        text += (i ? "," : "") + std::to_string(slots[i]);
    return text;
}

// Only the keys whose value differs from what the compiler assumes for a legend cell.
std::string LegendLine(char ch, const FieldCell& c) {
    std::string line = std::string("legend ") + ch;
    auto key = [&line](const char* name, uint8_t value, uint8_t assumed) {
        if (value != assumed)
            line += std::string(" ") + name + "=" + std::to_string(value);
    };
    key("ground", c.ground, GROUND_PLAIN);
    if (!Stack(c.objects).empty())
        line += " obj=" + Stack(c.objects);
    key("item", c.item, kNothing);
    key("creature", c.creature, kNothing);
    key("flags", c.flags, 0);
    key("swground", c.swGround, c.ground);
    if (!Stack(c.swObjects).empty())
        line += " swobj=" + Stack(c.swObjects);
    key("switem", c.swItem, kNothing);
    key("swflags", c.swFlags, c.flags);
    key("switch", c.switchNo, kNothing);
    key("extra", c.extraFlags, 0);
    return line;
}

bool DescriptionLines(const std::string& description, std::string& out, std::string& error) {
    if (description.empty())
        return true;
    size_t start = 0;
    for (int number = 1;; ++number) {
        size_t end = description.find('\n', start);
        std::string line = description.substr(start, end == std::string::npos ? end : end - start);
        std::string utf8 = Utf8FromCp1252(line);
        if ((!line.empty() && line.back() == '\r') || Cp1252FromUtf8(utf8) != line) {
            error = "description line " + std::to_string(number) +
                    " ends in a carriage return or holds a byte without a character";
            return false;
        }
        out += utf8.empty() ? "description\n" : "description " + utf8 + "\n";
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

} // namespace

bool DecompileLevelSource(const CGameFieldBase& field, std::string& source, std::string& error) {
    if (field.width < kMinFieldSize || field.height < kMinFieldSize ||
        field.cells.size() != static_cast<size_t>(field.width) * field.height) {
        error = "the field has no valid size";
        return false;
    }
    std::map<CellKey, char> builtIn;
    for (int ch = '!'; ch <= '~'; ++ch) {
        FieldCell cell;
        if (BuiltInSourceCell(static_cast<char>(ch), cell))
            builtIn.emplace(KeyOf(cell), static_cast<char>(ch)); // the first character wins
    }
    // Characters for legend entries: first those without a built-in meaning, then built-in
    // ones this field does not use. "e" and "n" never, so that no row can read "end".
    std::map<CellKey, char> chosen;
    std::array<bool, 128> taken{};
    for (const FieldCell& cell : field.cells) {
        auto hit = builtIn.find(KeyOf(cell));
        if (hit != builtIn.end()) {
            chosen.emplace(hit->first, hit->second);
            taken[static_cast<unsigned char>(hit->second)] = true;
        }
    }
    std::string pool;
    for (bool builtInToo : {false, true})
        for (int ch = '!'; ch <= '~'; ++ch) {
            FieldCell unused;
            if (ch != 'e' && ch != 'n' && !taken[ch] &&
                BuiltInSourceCell(static_cast<char>(ch), unused) == builtInToo)
                pool += static_cast<char>(ch);
        }
    std::string legend;
    size_t next = 0;
    const size_t builtInUsed = chosen.size();
    for (const FieldCell& cell : field.cells) {
        CellKey key = KeyOf(cell);
        if (chosen.count(key))
            continue;
        if (next == pool.size()) {
            error = "the field has more kinds of cell than a source has characters (" +
                    std::to_string(next + builtInUsed) + ")";
            return false;
        }
        chosen.emplace(key, pool[next]);
        legend += LegendLine(pool[next++], cell) + "\n";
    }
    source.clear();
    if (!DescriptionLines(field.description, source, error))
        return false;
    source += legend + "map\n";
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x)
            source += chosen[KeyOf(field.CellAt(x, y))];
        source += '\n';
    }
    source += "end\n";
    return true;
}

} // namespace kx
