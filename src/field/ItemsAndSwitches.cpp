// What an eaten item does, the switch trigger and the completion of a level.
#include "Game.h"

namespace kx {

uint8_t CGame::EatItem(uint8_t code, Worm& worm) {
    switch (code) {
    case ITEM_CORN:
        --cornLeft;
        if (notInLevel)
            return ITEM_ANTI_CORN; // the title screens run on: corn and anti-corn alternate
        PlaySound("WormEatCorn");
        if (cornLeft < 1)
            CompleteLevel();
        return kNothing;
    case ITEM_ANTI_CORN:
        if (notInLevel) {
            ++cornLeft;
            return ITEM_CORN;
        }
        PlaySound("WormEatAntiCorn");
        return kNothing;
    case ITEM_WORM_FASTER:
        if (notInLevel)
            return ITEM_WORM_SLOWER;
        PlaySound("WormSpeedUp");
        return kNothing;
    case ITEM_WORM_SLOWER:
        if (notInLevel)
            return ITEM_WORM_FASTER;
        PlaySound("WormSpeedDown");
        return kNothing;
    case ITEM_GHOSTS_FASTER:
        for (const auto& ghost : ghosts)
            ghost->Faster(*this);
        if (!notInLevel)
            PlaySound("GhostSpeedUp");
        return kNothing;
    case ITEM_GHOSTS_SLOWER:
        for (const auto& ghost : ghosts)
            ghost->Slower(*this);
        if (!notInLevel)
            PlaySound("GhostSpeedDown");
        return kNothing;
    case ITEM_GHOST_KILLER:
        return KillMarkedGhost() ? kNothing : ITEM_GHOST_KILLER;
    case ITEM_GHOST_LARVA: {
        if (worm.length < 3)
            return ITEM_GHOST_LARVA;
        SegmentPos tail = worm.Segment(worm.length - 1);
        worm.RemoveTail(field);
        CreateGhost(tail.x, tail.y);
        PlaySound("GhostNew");
        return kNothing;
    }
    default:
        return kNothing;
    }
}

void CGame::TriggerSwitch(FieldCell& cell) {
    if ((cell.flags & FLAG_SWITCH) == 0 || cell.switchNo == kNothing)
        return;
    field.ToggleSwitch(cell.switchNo);
    if (!notInLevel)
        PlaySound("switch");
}

void CGame::CompleteLevel() {
    for (const auto& worm : worms)
        worm->Finish(*this);
    if (!notInLevel)
        PlaySound("LevelWon");
}

} // namespace kx
