// The level checker: each check walks the field once and adds its warnings.
#include "LevelCheck.h"

#include <algorithm>
#include <array>
#include <deque>

#include "game/TextPanel.h"
#include "rules/Game.h"
#include "storage/TextCodec.h"

namespace kx {
namespace {

bool OnBorder(const CGameFieldBase& field, int x, int y) {
    return x == 0 || y == 0 || x == field.width - 1 || y == field.height - 1;
}

bool IsHead(uint8_t creature) {
    return creature == CREATURE_WORM_HEAD || creature == CREATURE_WORM_CURRENT;
}

bool HasObjectIn(const uint8_t (&objects)[kObjectSlots], uint8_t first, uint8_t last) {
    return std::any_of(std::begin(objects), std::end(objects),
                       [&](uint8_t o) { return o >= first && o <= last; });
}

// A cell counts as open to worms if either layer lets them in: a switch may bring that layer
// up, and the checker warns only about corn that is certainly out of reach.
bool MayBeOpenToWorms(const FieldCell& c) {
    if (!(c.flags & FLAG_NO_WORMS))
        return true;
    return c.switchNo != kNothing && !(c.swFlags & FLAG_NO_WORMS);
}

// Each start worm's cells within the field, head first.
using StartWormCells = std::vector<std::vector<std::pair<int, int>>>;

// The worms the game starts with, from the game's own level set-up on a copy: each is its head
// and the body cell it claimed. The set-up mends a field too small to play, whose cells are
// not this field's; what lies outside this field is dropped.
StartWormCells StartWorms(const CGameFieldBase& field) {
    CGame game;
    game.play.field = field;
    game.PrepareLevel();
    StartWormCells worms;
    for (const Worm& worm : game.play.worms) {
        if (worm.length < 1 || !field.Contains(worm.Head().x, worm.Head().y))
            continue;
        std::vector<std::pair<int, int>> cells;
        for (int32_t i = 0; i < worm.length; ++i) {
            const SegmentPos p = worm.Segment(i);
            if (field.Contains(p.x, p.y))
                cells.emplace_back(p.x, p.y);
        }
        worms.push_back(std::move(cells));
    }
    return worms;
}

void CheckCorn(const CGameFieldBase& field, const StartWormCells& worms,
               std::vector<LevelWarning>& out) {
    std::vector<bool> reached(field.cells.size(), false);
    std::deque<std::pair<int, int>> open;
    for (const auto& worm : worms) {
        auto [x, y] = worm.front();
        reached[static_cast<size_t>(y) * field.width + x] = true;
        open.emplace_back(x, y);
    }
    static constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    while (!open.empty()) {
        auto [x, y] = open.front();
        open.pop_front();
        for (const auto& step : kSteps) {
            int nx = x + step[0], ny = y + step[1];
            if (!field.Contains(nx, ny))
                continue;
            size_t index = static_cast<size_t>(ny) * field.width + nx;
            if (reached[index] || !MayBeOpenToWorms(field.cells[index]))
                continue;
            reached[index] = true;
            open.emplace_back(nx, ny);
        }
    }
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            const FieldCell& c = field.CellAt(x, y);
            bool canReach = reached[static_cast<size_t>(y) * field.width + x];
            if (c.item == ITEM_CORN && !canReach)
                out.push_back({x, y, "corn that no worm can reach"});
            if (c.swItem == ITEM_CORN) {
                if (c.switchNo == kNothing)
                    out.push_back({x, y,
                                   "corn in the switch layer of a cell that belongs to no switch: "
                                   "it never comes out, so the level cannot be won"});
                else if (!canReach)
                    out.push_back({x, y, "corn in the switch layer that no worm can reach"});
            }
        }
    }
}

void CheckWorms(const CGameFieldBase& field, const StartWormCells& worms,
                std::vector<LevelWarning>& out) {
    std::vector<bool> claimed(field.cells.size(), false);
    for (const auto& worm : worms)
        for (auto [x, y] : worm)
            claimed[static_cast<size_t>(y) * field.width + x] = true;
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            const FieldCell& c = field.CellAt(x, y);
            bool head = IsHead(c.creature);
            if (!head && c.creature != CREATURE_WORM_BODY)
                continue;
            const char* what = head ? "worm head" : "worm body";
            if (OnBorder(field, x, y))
                out.push_back({x, y,
                               std::string(what) + " on the border" +
                                   (head ? ": the game ignores heads there" : "")});
            else if (c.flags & FLAG_NO_WORMS)
                out.push_back({x, y, std::string(what) + " inside a wall or a no-worm cell"});
            if (!head && !claimed[static_cast<size_t>(y) * field.width + x])
                out.push_back({x, y, "worm body that no head claims: it vanishes at the start"});
        }
    }
}

void CheckLayerFlags(int x, int y, uint8_t ground, const uint8_t (&objects)[kObjectSlots],
                     uint8_t flags, const char* layer, std::vector<LevelWarning>& out) {
    constexpr uint8_t kBoth = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
    bool block = HasObjectIn(objects, OBJ_BLOCK_FIRST, OBJ_BLOCK_LAST);
    bool fence = HasObjectIn(objects, OBJ_FENCE_FIRST, OBJ_FENCE_LAST);
    std::string in = layer;
    if (ground <= GROUND_WALL_LAST && (flags & kBoth) != kBoth)
        out.push_back({x, y, "wall" + in + " that lets worms or ghosts through (flags)"});
    if (block && (flags & kBoth) != kBoth)
        out.push_back({x, y, "block" + in + " that lets worms or ghosts through (flags)"});
    if (fence && !(flags & FLAG_NO_GHOSTS))
        out.push_back({x, y, "ghost fence" + in + " without the no-ghost flag"});
    if (ground >= GROUND_KIND_FIRST && ground <= GROUND_KIND_LAST && !block &&
        (flags & FLAG_NO_WORMS))
        out.push_back({x, y, "open floor" + in + " that worms may not enter: an invisible wall"});
}

void CheckFlags(const CGameFieldBase& field, std::vector<LevelWarning>& out) {
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            const FieldCell& c = field.CellAt(x, y);
            CheckLayerFlags(x, y, c.ground, c.objects, c.flags, "", out);
            if (c.switchNo != kNothing)
                CheckLayerFlags(x, y, c.swGround, c.swObjects, c.swFlags, " in the switch layer",
                                out);
        }
    }
}

void CheckSwitches(const CGameFieldBase& field, std::vector<LevelWarning>& out) {
    std::array<int, 256> cells{};
    std::array<bool, 256> hasSwitch{};
    for (const FieldCell& c : field.cells) {
        ++cells[c.switchNo];
        if ((c.flags | c.swFlags) & FLAG_SWITCH)
            hasSwitch[c.switchNo] = true;
    }
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            const FieldCell& c = field.CellAt(x, y);
            bool isSwitch = (c.flags | c.swFlags) & FLAG_SWITCH;
            std::string number = std::to_string(c.switchNo);
            if (isSwitch && c.switchNo == kNothing)
                out.push_back({x, y, "switch without a number: it does nothing"});
            else if (isSwitch && cells[c.switchNo] == 1)
                out.push_back({x, y, "switch " + number + ": no other cell has this number"});
            else if (!isSwitch && c.switchNo != kNothing && !hasSwitch[c.switchNo])
                out.push_back(
                    {x, y, "switched cell of number " + number + ", but no switch has it"});
        }
    }
}

void CheckDescription(const CGameFieldBase& field, std::vector<LevelWarning>& out) {
    std::string text = Utf8FromCp1252(field.description);
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        out.push_back({-1, -1, "no description: the level opens without a help text"});
        return;
    }
    size_t start = 0;
    for (int line = 1; start <= text.size(); ++line) {
        size_t end = text.find('\n', start);
        std::string row = text.substr(start, end == std::string::npos ? end : end - start);
        for (const std::string& tag : UnknownMarkupTags(row))
            out.push_back({-1, -1,
                           "description line " + std::to_string(line) + ": unknown mark-up tag /" +
                               tag + "/ is shown as text"});
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

// Anything but walls and plain ground, in either layer.
bool HasContent(const FieldCell& c) {
    auto plain = [](uint8_t g) { return g <= GROUND_WALL_LAST || g == GROUND_PLAIN; };
    auto empty = [](const uint8_t(&o)[kObjectSlots]) {
        return std::all_of(std::begin(o), std::end(o), [](uint8_t v) { return v == kNothing; });
    };
    return !plain(c.ground) || !empty(c.objects) || c.item != kNothing || c.creature != kNothing ||
           c.switchNo != kNothing ||
           (c.switchNo != kNothing &&
            (!plain(c.swGround) || !empty(c.swObjects) || c.swItem != kNothing));
}

void CheckSize(const CGameFieldBase& field, std::vector<LevelWarning>& out) {
    if (field.width <= kWindowCells && field.height <= kWindowCells)
        return;
    int left = field.width, right = -1, top = field.height, bottom = -1;
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            if (!HasContent(field.CellAt(x, y)))
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right - left + 1 <= kWindowCells && bottom - top + 1 <= kWindowCells)
        out.push_back({-1, -1,
                       "the field is " + std::to_string(field.width) + " x " +
                           std::to_string(field.height) + " cells, larger than the window (" +
                           std::to_string(kWindowCells) + " x " + std::to_string(kWindowCells) +
                           "), but everything in it fits on one screen"});
}

} // namespace

std::vector<std::string> UnknownMarkupTags(const std::string& line) {
    std::vector<std::string> unknown;
    size_t at = line.find('/');
    while (at != std::string::npos) {
        size_t close = line.find('/', at + 1);
        std::string tag = line.substr(at + 1, close == std::string::npos ? close : close - at - 1);
        if (!CTextPanel::IsKnownTag(tag))
            unknown.push_back(tag);
        if (close == std::string::npos)
            break;
        at = line.find('/', close + 1);
    }
    return unknown;
}

std::vector<LevelWarning> CheckLevel(const CGameFieldBase& field) {
    std::vector<LevelWarning> out;
    if (field.width < 1 || field.height < 1 ||
        field.cells.size() != static_cast<size_t>(field.width) * field.height)
        return {{-1, -1, "the field has no cells"}};
    const StartWormCells worms = StartWorms(field);
    CheckCorn(field, worms, out);
    CheckWorms(field, worms, out);
    CheckFlags(field, out);
    CheckSwitches(field, out);
    CheckDescription(field, out);
    CheckSize(field, out);
    return out;
}

} // namespace kx
