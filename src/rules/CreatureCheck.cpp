// Rebuilds the creature layer from the lists and compares it with the field.
#include "CreatureCheck.h"

#include <initializer_list>
#include <vector>

namespace kx {

namespace {
// Built by appending: gcc 12 at -O3 warns falsely about literal + std::string.
std::string Join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& p : parts)
        out.append(p);
    return out;
}

std::string At(int32_t x, int32_t y) {
    return Join({"(", std::to_string(x), ", ", std::to_string(y), ")"});
}

uint8_t WormHeadCode(const Worm& worm, bool current) {
    switch (worm.state) {
    case WORM_ALIVE:
        return current ? CREATURE_WORM_CURRENT : CREATURE_WORM_HEAD;
    case WORM_DYING:
        return static_cast<uint8_t>(worm.frame);
    case WORM_LEAVING:
        return CREATURE_WORM_LEAVING;
    default:
        return CREATURE_WORM_BODY; // a dead worm keeps only body cells
    }
}
} // namespace

std::string CheckCreatureLayer(const PlayState& play) {
    const CGameFieldBase& field = play.field;
    const size_t count = static_cast<size_t>(field.width) * static_cast<size_t>(field.height);
    if (field.width < 1 || field.height < 1 || field.cells.size() != count)
        return "the field has no valid size";
    std::vector<uint8_t> expected(count, kNothing);
    std::vector<bool> claimed(count, false);

    auto claim = [&](int32_t x, int32_t y, uint8_t code, const std::string& who) -> std::string {
        if (!field.Contains(x, y))
            return who + " lies outside the field at " + At(x, y);
        size_t index = static_cast<size_t>(y) * field.width + x;
        if (claimed[index])
            return who + " shares cell " + At(x, y) + " with another creature";
        claimed[index] = true;
        expected[index] = code;
        return {};
    };

    for (size_t w = 0; w < play.worms.size(); ++w) {
        const Worm& worm = play.worms[w];
        std::string who = Join({"worm ", std::to_string(w)});
        if (worm.length < 0 || worm.length > kMaxWormLength)
            return who + " has length " + std::to_string(worm.length);
        if (worm.state == WORM_GONE && worm.length > 0)
            return who + " is gone but keeps segments";
        if (worm.state == WORM_ALIVE && worm.length < 1)
            return who + " is alive without segments";
        for (int32_t i = 0; i < worm.length; ++i) {
            SegmentPos p = worm.Segment(i);
            uint8_t code = i == 0 ? WormHeadCode(worm, static_cast<int32_t>(w) == play.activeWorm)
                                  : CREATURE_WORM_BODY;
            std::string problem = claim(p.x, p.y, code, who);
            if (!problem.empty())
                return problem;
        }
    }

    const Ghost* lastLiving = nullptr;
    for (const Ghost& ghost : play.ghosts) {
        if (ghost.state == GHOST_ALIVE)
            lastLiving = &ghost;
    }
    for (size_t g = 0; g < play.ghosts.size(); ++g) {
        const Ghost& ghost = play.ghosts[g];
        std::string who = Join({"ghost ", std::to_string(g)});
        if (ghost.state == GHOST_DEAD)
            return who + " is dead but still listed";
        if (ghost.marked != (&ghost == lastLiving))
            return who + (ghost.marked ? " is marked but is not the last living ghost"
                                       : " is the last living ghost but not marked");
        std::string problem = claim(ghost.x, ghost.y, ghost.Code(), who);
        if (!problem.empty())
            return problem;
    }

    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            uint8_t have = field.CellAt(x, y).creature;
            uint8_t want = expected[static_cast<size_t>(y) * field.width + x];
            if (have != want)
                return Join({"cell ", At(x, y), " holds creature ", std::to_string(have),
                             ", the lists say ", std::to_string(want)});
        }
    }
    return {};
}

} // namespace kx
