// Turning a loaded field into worms and ghosts, and the creation of both creatures.
#include "Game.h"

namespace kx {

namespace {
constexpr int32_t kSpeedTableMs[kSpeedCount] = {15,  20,  25,  35,  50,  70,  100, 150,
                                                200, 250, 300, 350, 400, 500, 650, 800};

// The cells the worms made so far lie on, one flag per cell: a level may hold a million
// worms and ghosts, and asking every worm about every cell would take hours.
class CWormCells {
public:
    explicit CWormCells(const CGameFieldBase& field)
        : width(field.width), taken(field.cells.size(), false) {}
    void Add(const Worm& worm) {
        for (int32_t i = 0; i < worm.length; ++i)
            taken[Index(worm.Segment(i).x, worm.Segment(i).y)] = true;
    }
    bool Has(int32_t x, int32_t y) const { return taken[Index(x, y)]; }

private:
    size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * width + x; }
    int32_t width;
    std::vector<bool> taken;
};
} // namespace

int32_t SpeedMs(int32_t speedIndex) {
    if (speedIndex < 0)
        speedIndex = 0;
    if (speedIndex >= kSpeedCount)
        speedIndex = kSpeedCount - 1;
    return kSpeedTableMs[speedIndex];
}

Worm& CGame::CreateWorm(int32_t x, int32_t y, int32_t speedIndex, int32_t tailDirection) {
    Worm& worm = play.worms.emplace_back();
    worm.state = WORM_ALIVE;
    worm.speedIndex = speedIndex;
    worm.stepInterval = MsToTicks(static_cast<uint64_t>(SpeedMs(speedIndex)));
    if (tailDirection >= DIR_UP && tailDirection <= DIR_RIGHT)
        worm.PushHead({static_cast<uint16_t>(x + DirectionDX(tailDirection)),
                       static_cast<uint16_t>(y + DirectionDY(tailDirection))});
    worm.PushHead({static_cast<uint16_t>(x), static_cast<uint16_t>(y)});
    return worm;
}

Ghost& CGame::CreateGhost(int32_t x, int32_t y) {
    Ghost ghost;
    ghost.x = x;
    ghost.y = y;
    ghost.speedIndex = kStartSpeedIndex;
    ghost.stepInterval = MsToTicks(static_cast<uint64_t>(SpeedMs(kStartSpeedIndex)));
    // The cell is claimed at once, not only at the next marking: a ghost born from a larva
    // would otherwise stand on an empty-looking cell for the rest of the worm pass, and
    // other worms or ghosts could walk into it.
    if (play.field.Contains(x, y))
        play.field.CellAt(x, y).creature = CREATURE_GHOST;
    return play.ghosts.emplace_back(ghost);
}

void Worm::StartDirectionFromArrow(const CGameFieldBase& field) {
    if (length < 1)
        return;
    const FieldCell& cell = field.CellAt(Head().x, Head().y);
    if (CGameFieldBase::HasObject(cell, OBJ_ARROW_LEFT))
        queued1 = DIR_LEFT;
    else if (CGameFieldBase::HasObject(cell, OBJ_ARROW_RIGHT))
        queued1 = DIR_RIGHT;
    else if (CGameFieldBase::HasObject(cell, OBJ_ARROW_UP))
        queued1 = DIR_UP;
    else if (CGameFieldBase::HasObject(cell, OBJ_ARROW_DOWN))
        queued1 = DIR_DOWN;
}

bool DependsOnSeed(const PlayState& state) {
    if (!state.ghosts.empty())
        return true;
    for (const FieldCell& cell : state.field.cells)
        if (cell.item == ITEM_GHOST_LARVA || cell.swItem == ITEM_GHOST_LARVA)
            return true;
    return false;
}

void CGame::PrepareLevel() {
    if (play.field.width < kMinFieldSize || play.field.height < kMinFieldSize ||
        play.field.cells.size() != static_cast<size_t>(play.field.width) * play.field.height)
        play.field.CreateField(play.field.width, play.field.height);

    play.cornLeft = 0;
    play.ghosts.clear();
    play.worms.clear();
    play.activeWorm = 0;
    CWormCells wormCells(play.field);

    for (int32_t y = 1; y <= play.field.height - 2; ++y) {
        for (int32_t x = 1; x <= play.field.width - 2; ++x) {
            uint8_t c = play.field.CellAt(x, y).creature;
            if (c != CREATURE_WORM_HEAD && c != CREATURE_WORM_CURRENT)
                continue;
            // A body cell between two heads goes to the first of them only: two worms
            // sharing a cell would clear it under each other.
            int32_t tail = DIR_NONE;
            for (int32_t d : {DIR_LEFT, DIR_RIGHT, DIR_UP, DIR_DOWN}) {
                int32_t nx = x + DirectionDX(d);
                int32_t ny = y + DirectionDY(d);
                if (play.field.CellAt(nx, ny).creature == CREATURE_WORM_BODY &&
                    !wormCells.Has(nx, ny)) {
                    tail = d;
                    break;
                }
            }
            wormCells.Add(CreateWorm(x, y, kStartSpeedIndex, tail));
            if (c == CREATURE_WORM_CURRENT)
                play.activeWorm = static_cast<int32_t>(play.worms.size()) - 1;
        }
    }
    if (play.worms.empty())
        wormCells.Add(CreateWorm(2, 1, kStartSpeedIndex, DIR_LEFT));

    for (int32_t y = 0; y < play.field.height; ++y) {
        for (int32_t x = 0; x < play.field.width; ++x) {
            FieldCell& cell = play.field.CellAt(x, y);
            // Only the stand-in worm can lie on a ghost's cell; the worm keeps it.
            if ((cell.creature == CREATURE_GHOST || cell.creature == CREATURE_GHOST_MARKED) &&
                !wormCells.Has(x, y))
                CreateGhost(x, y);
            cell.creature = kNothing;
            if (cell.item == ITEM_CORN)
                ++play.cornLeft;
            if (cell.swItem == ITEM_CORN)
                ++play.cornLeft;
        }
    }
    MarkGhosts();

    for (Worm& worm : play.worms)
        worm.StartDirectionFromArrow(play.field);
    for (Worm& worm : play.worms) {
        for (int32_t i = 1; i < worm.length; ++i)
            play.field.CellAt(worm.Segment(i).x, worm.Segment(i).y).creature = CREATURE_WORM_BODY;
        play.field.CellAt(worm.Head().x, worm.Head().y).creature =
            IsCurrent(worm) ? CREATURE_WORM_CURRENT : CREATURE_WORM_HEAD;
    }
    SetViewTarget(true);
    RequestRedraw();
}

} // namespace kx
