// The ghost: its elementary operations, the ghost pass and the random walk.
#include "Game.h"

namespace kx {

uint8_t Ghost::Code() const {
    if (state == GHOST_ALIVE)
        return marked ? CREATURE_GHOST_MARKED : CREATURE_GHOST;
    if (state == GHOST_DYING)
        return static_cast<uint8_t>(frame);
    return kNothing;
}

void Ghost::Faster(const CGame& game) {
    if (speedIndex > 0) {
        --speedIndex;
        stepInterval = game.MsToTicks(static_cast<uint64_t>(SpeedMs(speedIndex)));
    }
}

void Ghost::Slower(const CGame& game) {
    if (speedIndex + 1 < kSpeedCount) {
        ++speedIndex;
        stepInterval = game.MsToTicks(static_cast<uint64_t>(SpeedMs(speedIndex)));
    }
}

void Ghost::KillGhost(CGame& game) {
    state = GHOST_DYING;
    frame = CREATURE_GHOST_DEATH_FIRST;
    lastFrame = CREATURE_GHOST_DEATH_LAST;
    if (game.play.field.Contains(x, y))
        game.play.field.CellAt(x, y).creature = CREATURE_GHOST_DEATH_FIRST;
    stepInterval = game.MsToTicks(700);
    if (!game.play.notInLevel)
        game.PlaySound("GhostDead");
}

void CGame::MarkGhosts() {
    Ghost* last = nullptr;
    for (Ghost& ghost : play.ghosts) {
        ghost.marked = false;
        if (ghost.state == GHOST_ALIVE)
            last = &ghost;
    }
    if (last)
        last->marked = true;
    for (Ghost& ghost : play.ghosts) {
        if (play.field.Contains(ghost.x, ghost.y))
            play.field.CellAt(ghost.x, ghost.y).creature = ghost.Code();
    }
}

bool CGame::KillMarkedGhost() {
    for (size_t i = play.ghosts.size(); i-- > 0;) {
        if (play.ghosts[i].state == GHOST_ALIVE) {
            play.ghosts[i].KillGhost(*this);
            return true;
        }
    }
    return false;
}

bool CGame::BlockedForGhost(int32_t x, int32_t y) const {
    if (!play.field.Contains(x, y))
        return true;
    const FieldCell& cell = play.field.CellAt(x, y);
    if (cell.flags & FLAG_NO_GHOSTS)
        return true;
    return cell.creature != kNothing && cell.creature != CREATURE_WORM_HEAD &&
           cell.creature != CREATURE_WORM_CURRENT;
}

void CGame::UpdateGhosts() {
    for (size_t i = 0; i < play.ghosts.size(); ++i)
        UpdateGhost(play.ghosts[i]);
    for (size_t i = play.ghosts.size(); i-- > 0;) {
        if (play.ghosts[i].state == GHOST_DEAD)
            play.ghosts.erase(play.ghosts.begin() + static_cast<long>(i));
    }
    MarkGhosts();
}

void CGame::UpdateGhost(Ghost& ghost) {
    if (play.now - ghost.lastStep < ghost.stepInterval)
        return;
    ghost.lastStep = play.now;
    if (ghost.state == GHOST_ALIVE) {
        MoveGhost(ghost);
    } else if (ghost.state == GHOST_DYING) {
        if (ghost.frame != ghost.lastFrame) {
            ghost.stepInterval = MsToTicks(150);
            ++ghost.frame;
            play.field.CellAt(ghost.x, ghost.y).creature = static_cast<uint8_t>(ghost.frame);
        } else {
            play.field.CellAt(ghost.x, ghost.y).creature = kNothing;
            ghost.frame = kNothing;
            ghost.state = GHOST_DEAD;
        }
    }
    RequestRedraw();
}

void CGame::MoveGhost(Ghost& ghost) {
    if (ghost.direction >= DIR_UP && ghost.direction <= DIR_RIGHT) {
        int32_t tx = ghost.x + DirectionDX(ghost.direction);
        int32_t ty = ghost.y + DirectionDY(ghost.direction);
        if (BlockedForGhost(tx, ty)) {
            int32_t open[4];
            uint32_t count = 0;
            for (int32_t d = DIR_UP; d <= DIR_RIGHT; ++d) {
                if (d != ghost.direction &&
                    !BlockedForGhost(ghost.x + DirectionDX(d), ghost.y + DirectionDY(d)))
                    open[count++] = d;
            }
            if (count > 0)
                ghost.direction = open[play.random.Next() % count];
            else
                ghost.direction = ReverseDirection(ghost.direction);
        } else if ((play.random.Next() & 7) == 0) {
            ghost.direction = DIR_NONE;
        }
    }
    if (ghost.direction < DIR_UP || ghost.direction > DIR_RIGHT)
        ghost.direction = static_cast<int32_t>(play.random.Next() & 3) + 1;

    int32_t tx = ghost.x + DirectionDX(ghost.direction);
    int32_t ty = ghost.y + DirectionDY(ghost.direction);
    if (BlockedForGhost(tx, ty)) {
        ghost.direction = DIR_NONE;
        return;
    }
    FieldCell& target = play.field.CellAt(tx, ty);
    if (target.creature == CREATURE_WORM_HEAD || target.creature == CREATURE_WORM_CURRENT) {
        int32_t index = FindWormAt(tx, ty);
        if (index >= 0)
            play.worms[static_cast<size_t>(index)].Die(*this);
        ghost.direction = DIR_NONE;
        return;
    }
    play.field.CellAt(ghost.x, ghost.y).creature = kNothing;
    target.creature = ghost.Code();
    ghost.x = tx;
    ghost.y = ty;
    if (CGameFieldBase::HasObject(target, OBJ_CACTUS))
        ghost.KillGhost(*this);
}

} // namespace kx
