// What an eaten item does, the switch trigger and the completion of a level.
#include "Game.h"

namespace kx {

uint8_t CGame::EatItem(uint8_t code, Worm& worm) {
    switch (code) {
    case ITEM_CORN:
        --play.cornLeft;
        if (play.notInLevel)
            return ITEM_ANTI_CORN; // the title screens run on: corn and anti-corn alternate
        PlaySound("WormEatCorn");
        if (play.cornLeft < 1)
            CompleteLevel();
        return kNothing;
    case ITEM_ANTI_CORN:
        if (play.notInLevel) {
            ++play.cornLeft;
            return ITEM_CORN;
        }
        PlaySound("WormEatAntiCorn");
        return kNothing;
    case ITEM_WORM_FASTER:
        if (play.notInLevel)
            return ITEM_WORM_SLOWER;
        PlaySound("WormSpeedUp");
        return kNothing;
    case ITEM_WORM_SLOWER:
        if (play.notInLevel)
            return ITEM_WORM_FASTER;
        PlaySound("WormSpeedDown");
        return kNothing;
    case ITEM_GHOSTS_FASTER:
        for (Ghost& ghost : play.ghosts)
            ghost.Faster(*this);
        if (!play.notInLevel)
            PlaySound("GhostSpeedUp");
        return kNothing;
    case ITEM_GHOSTS_SLOWER:
        for (Ghost& ghost : play.ghosts)
            ghost.Slower(*this);
        if (!play.notInLevel)
            PlaySound("GhostSpeedDown");
        return kNothing;
    case ITEM_GHOST_KILLER:
        return KillMarkedGhost() ? kNothing : ITEM_GHOST_KILLER;
    case ITEM_GHOST_LARVA: {
        if (worm.length < 3)
            return ITEM_GHOST_LARVA;
        SegmentPos tail = worm.Segment(worm.length - 1);
        worm.RemoveTail(play.field);
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
    play.field.ToggleSwitch(cell.switchNo);
    if (!play.notInLevel)
        PlaySound("switch");
}

void CGame::CompleteLevel() {
    for (Worm& worm : play.worms)
        worm.Finish(*this);
    if (!play.notInLevel)
        PlaySound("LevelWon");
}

} // namespace kx
