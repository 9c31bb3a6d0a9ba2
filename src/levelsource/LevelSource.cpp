// Compiles the text-art level source into a game field.
#include "levelsource/LevelSource.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

#include "storage/TextCodec.h"

namespace kx {

namespace {

// A legend entry; the switch layer's ground and flags follow the normal layer unless set.
struct Glyph {
    FieldCell cell{};
    bool swGroundSet = false;
    bool swFlagsSet = false;
    bool defined = false;
};

FieldCell PlainCell() {
    FieldCell c{};
    c.ground = GROUND_PLAIN;
    std::fill(std::begin(c.objects), std::end(c.objects), kNothing);
    c.item = kNothing;
    c.creature = kNothing;
    c.flags = 0;
    std::fill(std::begin(c.swObjects), std::end(c.swObjects), kNothing);
    c.swItem = kNothing;
    c.switchNo = kNothing;
    c.extraFlags = 0;
    return c;
}

using GlyphTable = std::array<Glyph, 128>;

GlyphTable BuiltInLegend() {
    GlyphTable legend{};
    auto put = [&legend](char ch, auto change) {
        Glyph g;
        g.cell = PlainCell();
        change(g.cell);
        g.defined = true;
        legend[static_cast<unsigned char>(ch)] = g;
    };
    auto wall = [](uint8_t code) {
        return [code](FieldCell& c) {
            c.ground = code;
            c.flags = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
        };
    };
    put('#', wall(WALL_STYLE_RED));
    put('%', wall(WALL_STYLE_YELLOW));
    put('&', wall(WALL_STYLE_GREEN));
    put('@', wall(WALL_STYLE_BLUE));
    put('$', wall(WALL_STYLE_LIGHTBLUE));
    put('.', [](FieldCell&) {});
    put('~', [](FieldCell& c) { c.ground = GROUND_WATER; });
    put('=', [](FieldCell& c) { c.ground = GROUND_ICE; });
    put('_', [](FieldCell& c) { c.ground = kNothing; });
    const std::pair<char, uint8_t> items[] = {{'c', ITEM_CORN},          {'a', ITEM_ANTI_CORN},
                                              {'+', ITEM_WORM_FASTER},   {'-', ITEM_WORM_SLOWER},
                                              {'F', ITEM_GHOSTS_FASTER}, {'S', ITEM_GHOSTS_SLOWER},
                                              {'x', ITEM_GHOST_KILLER},  {'l', ITEM_GHOST_LARVA}};
    for (const auto& [ch, value] : items) {
        uint8_t code = value; // clang 14 cannot capture a binding
        put(ch, [code](FieldCell& c) { c.item = code; });
    }
    const std::pair<char, uint8_t> creatures[] = {{'W', CREATURE_WORM_CURRENT},
                                                  {'w', CREATURE_WORM_HEAD},
                                                  {'b', CREATURE_WORM_BODY},
                                                  {'g', CREATURE_GHOST}};
    for (const auto& [ch, value] : creatures) {
        uint8_t code = value; // clang 14 cannot capture a binding
        put(ch, [code](FieldCell& c) { c.creature = code; });
    }
    const std::pair<char, uint8_t> objects[] = {
        {'k', OBJ_CACTUS},      {'L', OBJ_TURN_LEFT}, {'R', OBJ_TURN_RIGHT}, {'<', OBJ_ARROW_LEFT},
        {'>', OBJ_ARROW_RIGHT}, {'^', OBJ_ARROW_UP},  {'v', OBJ_ARROW_DOWN}, {'d', OBJ_DUCK_FIRST}};
    for (const auto& [ch, value] : objects) {
        uint8_t code = value; // clang 14 cannot capture a binding
        put(ch, [code](FieldCell& c) { c.objects[0] = code; });
    }
    put('B', [](FieldCell& c) {
        c.objects[0] = OBJ_BLOCK_FIRST;
        c.flags = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
    });
    put('f', [](FieldCell& c) {
        c.objects[0] = OBJ_FENCE_FIRST;
        c.flags = FLAG_NO_GHOSTS;
    });
    put('N', [](FieldCell& c) { c.flags = FLAG_NO_WORMS; });
    put('G', [](FieldCell& c) { c.flags = FLAG_NO_GHOSTS; });
    for (char d = '0'; d <= '9'; ++d) {
        Glyph g;
        g.cell = PlainCell();
        g.cell.objects[0] = OBJ_SWITCH_FIRST;
        g.cell.flags = FLAG_SWITCH;
        g.cell.swObjects[0] = OBJ_SWITCH_FIRST + 1;
        g.cell.swFlags = FLAG_SWITCH;
        g.cell.switchNo = static_cast<uint8_t>(d - '0');
        g.swGroundSet = false;
        g.swFlagsSet = true;
        g.defined = true;
        legend[static_cast<unsigned char>(d)] = g;
    }
    return legend;
}

std::optional<uint8_t> ParseCode(std::string_view text) {
    if (text == "none")
        return kNothing;
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value > 255)
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

bool ParseStack(std::string_view text, uint8_t* slots) {
    std::fill(slots, slots + kObjectSlots, kNothing);
    if (text.empty() || text == "none")
        return true;
    int used = 0;
    while (true) {
        size_t comma = text.find(',');
        std::optional<uint8_t> code = ParseCode(text.substr(0, comma));
        if (!code || used == kObjectSlots)
            return false;
        slots[used++] = *code;
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

class Compiler {
public:
    bool Run(std::string_view source, CGameFieldBase& field, std::string& error);

private:
    bool Fail(const std::string& message) {
        error = "line " + std::to_string(lineNo) + ": " + message;
        return false;
    }
    bool Legend(std::string_view line);
    bool Row(std::string_view line);

    GlyphTable legend = BuiltInLegend();
    std::vector<std::string> description;
    std::vector<std::string_view> rows;
    int lineNo = 0;
    std::string error;
};

bool Compiler::Legend(std::string_view line) {
    std::vector<std::string_view> words = Words(line);
    if (words.size() < 2 || words[1].size() != 1)
        return Fail("expected \"legend C key=value ...\" with one character C");
    unsigned char ch = static_cast<unsigned char>(words[1][0]);
    if (ch <= ' ' || ch >= 127)
        return Fail("a legend character is printable ASCII other than space");
    Glyph g;
    g.cell = PlainCell();
    g.defined = true;
    for (size_t i = 2; i < words.size(); ++i) {
        std::string_view word = words[i];
        size_t eq = word.find('=');
        if (eq == std::string_view::npos)
            return Fail("expected key=value, found \"" + std::string(word) + "\"");
        std::string_view key = word.substr(0, eq);
        std::string_view value = word.substr(eq + 1);
        if (key == "base") {
            if (value.size() != 1 || static_cast<unsigned char>(value[0]) >= 128 ||
                !legend[static_cast<unsigned char>(value[0])].defined)
                return Fail("base=" + std::string(value) + " names no defined character");
            g = legend[static_cast<unsigned char>(value[0])];
            continue;
        }
        if (key == "obj" || key == "swobj") {
            if (!ParseStack(value, key == "obj" ? g.cell.objects : g.cell.swObjects))
                return Fail(std::string(key) + " takes up to six codes 0..255 separated by commas");
            continue;
        }
        std::optional<uint8_t> code = ParseCode(value);
        if (!code)
            return Fail("value of " + std::string(key) + " is not a number 0..255 or none");
        if (key == "ground") {
            g.cell.ground = *code;
        } else if (key == "item") {
            g.cell.item = *code;
        } else if (key == "creature") {
            g.cell.creature = *code;
        } else if (key == "flags") {
            g.cell.flags = *code;
        } else if (key == "swground") {
            g.cell.swGround = *code;
            g.swGroundSet = true;
        } else if (key == "switem") {
            g.cell.swItem = *code;
        } else if (key == "swflags") {
            g.cell.swFlags = *code;
            g.swFlagsSet = true;
        } else if (key == "switch") {
            if (*code > 50 && *code != kNothing)
                return Fail("switch numbers are 0..50 or none");
            g.cell.switchNo = *code;
        } else if (key == "extra") {
            g.cell.extraFlags = *code;
        } else {
            return Fail("unknown legend key \"" + std::string(key) + "\"");
        }
    }
    legend[ch] = g;
    return true;
}

bool Compiler::Row(std::string_view line) {
    if (rows.size() == static_cast<size_t>(kMaxFieldSize))
        return Fail("more than 1000 rows");
    if (line.size() > static_cast<size_t>(kMaxFieldSize))
        return Fail("row longer than 1000 cells");
    for (size_t i = 0; i < line.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(line[i]);
        if (ch >= 128 || !legend[ch].defined) {
            char shown[8];
            if (ch > ' ' && ch < 127)
                std::snprintf(shown, sizeof shown, "'%c'", ch);
            else
                std::snprintf(shown, sizeof shown, "0x%02X", ch);
            return Fail("column " + std::to_string(i + 1) + ": map character " + shown +
                        " has no legend");
        }
    }
    if (!rows.empty() && line.size() != rows.front().size())
        return Fail("row has " + std::to_string(line.size()) + " cells, the first row " +
                    std::to_string(rows.front().size()));
    rows.push_back(line);
    return true;
}

bool Compiler::Run(std::string_view source, CGameFieldBase& field, std::string& errorOut) {
    enum class Section { Head, Map, Done } section = Section::Head;
    size_t at = 0;
    while (at < source.size()) {
        size_t nl = source.find('\n', at);
        std::string_view line = source.substr(at, nl == std::string_view::npos ? nl : nl - at);
        at = nl == std::string_view::npos ? source.size() : nl + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        if (section == Section::Map) {
            if (line == "end") {
                section = Section::Done;
                continue;
            }
            if (!Row(line))
                break;
            continue;
        }
        std::vector<std::string_view> words = Words(line);
        if (words.empty() || words[0][0] == '#')
            continue;
        if (section == Section::Done) {
            Fail("only comments may follow \"end\"");
            break;
        }
        if (words[0] == "description") {
            // The text starts after one separating blank and keeps its own spacing.
            size_t start = line.find("description") + 11;
            if (start < line.size())
                ++start;
            description.emplace_back(line.substr(std::min(start, line.size())));
        } else if (words[0] == "legend") {
            if (!Legend(line))
                break;
        } else if (words[0] == "map" && words.size() == 1) {
            section = Section::Map;
        } else {
            Fail("unknown line \"" + std::string(words[0]) + "\"");
            break;
        }
    }
    if (error.empty() && section != Section::Done) {
        ++lineNo;
        Fail(section == Section::Head ? "no \"map\"" : "the map has no \"end\"");
    }
    if (error.empty() && rows.size() < static_cast<size_t>(kMinFieldSize))
        Fail("the map needs at least 3 rows");
    if (error.empty() && rows.front().size() < static_cast<size_t>(kMinFieldSize))
        Fail("the map needs at least 3 columns");
    if (!error.empty()) {
        errorOut = error;
        return false;
    }

    std::string text;
    for (size_t i = 0; i < description.size(); ++i)
        text += (i ? "\n" : "") + description[i];
    field.width = static_cast<int32_t>(rows.front().size());
    field.height = static_cast<int32_t>(rows.size());
    field.cells.resize(static_cast<size_t>(field.width) * field.height);
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            const Glyph& g = legend[static_cast<unsigned char>(rows[y][x])];
            FieldCell c = g.cell;
            if (!g.swGroundSet)
                c.swGround = c.ground;
            if (!g.swFlagsSet)
                c.swFlags = c.flags;
            field.CellAt(x, y) = c;
        }
    }
    field.description = Cp1252FromUtf8(text);
    return true;
}

} // namespace

bool BuiltInSourceCell(char ch, FieldCell& cell) {
    static const GlyphTable builtIn = BuiltInLegend();
    unsigned char index = static_cast<unsigned char>(ch);
    if (index >= builtIn.size() || !builtIn[index].defined)
        return false;
    const Glyph& g = builtIn[index];
    cell = g.cell;
    if (!g.swGroundSet)
        cell.swGround = cell.ground;
    if (!g.swFlagsSet)
        cell.swFlags = cell.flags;
    return true;
}

bool CompileLevelSource(std::string_view source, CGameFieldBase& field, std::string& error) {
    Compiler compiler;
    return compiler.Run(source, field, error);
}

} // namespace kx
