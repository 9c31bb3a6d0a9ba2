// The worm: its elementary operations, the worm pass and the full step of a living worm.
#include "Game.h"

#include <algorithm>

namespace kx {

void Worm::QueueDirection(int32_t d) {
    if (d < DIR_NONE || d > DIR_RIGHT)
        return;
    if (queued1 == DIR_NONE) {
        queued1 = d;
        queued2 = DIR_NONE;
    } else {
        queued2 = d;
        if (d == queued1)
            queued2 = DIR_NONE;
    }
}

void Worm::PushHead(SegmentPos p) {
    const size_t size = segments.size();
    if (static_cast<size_t>(length) >= size) {
        // Unroll the ring into a larger one, head first.
        std::vector<SegmentPos> grown(
            std::max<size_t>(static_cast<size_t>(length) + 1,
                             std::min<size_t>(std::max<size_t>(size * 2, 4), kMaxWormLength)));
        for (int32_t i = 0; i < length; ++i)
            grown[static_cast<size_t>(i) + 1] = Segment(i);
        segments = std::move(grown);
        headSlot = 1;
    }
    headSlot = static_cast<int32_t>((static_cast<size_t>(headSlot) + segments.size() - 1) %
                                    segments.size());
    segments[static_cast<size_t>(headSlot)] = p;
    ++length;
}

void Worm::DropHead() {
    if (length < 1)
        return;
    headSlot = static_cast<int32_t>(static_cast<size_t>(headSlot + 1) % segments.size());
    --length;
}

bool Worm::operator==(const Worm& other) const {
    if (state != other.state || length != other.length || direction != other.direction ||
        queued1 != other.queued1 || queued2 != other.queued2 || frame != other.frame ||
        lastFrame != other.lastFrame || stepInterval != other.stepInterval ||
        lastStep != other.lastStep || speedIndex != other.speedIndex)
        return false;
    for (int32_t i = 0; i < length; ++i) {
        if (!(Segment(i) == other.Segment(i)))
            return false;
    }
    return true;
}

void Worm::RemoveTail(CGameFieldBase& field) {
    if (state == WORM_ALIVE && length < 2)
        return;
    if (length < 1)
        return;
    SegmentPos tail = Segment(length - 1);
    field.CellAt(tail.x, tail.y).creature = kNothing;
    --length;
}

void Worm::Faster(const CGame& game) {
    if (speedIndex > 0) {
        --speedIndex;
        stepInterval = game.MsToTicks(static_cast<uint64_t>(SpeedMs(speedIndex)));
    }
}

void Worm::Slower(const CGame& game) {
    if (speedIndex + 1 < kSpeedCount) {
        ++speedIndex;
        stepInterval = game.MsToTicks(static_cast<uint64_t>(SpeedMs(speedIndex)));
    }
}

void Worm::Die(CGame& game) {
    stepInterval = game.MsToTicks(50);
    state = WORM_DYING;
    frame = CREATURE_WORM_DEATH_FIRST;
    lastFrame = CREATURE_WORM_DEATH_LAST;
    if (length > 0)
        game.play.field.CellAt(Head().x, Head().y).creature = CREATURE_WORM_DEATH_FIRST;
    if (!game.play.notInLevel)
        game.PlaySound("WormDead");
}

void Worm::Drown(CGame& game) {
    stepInterval = game.MsToTicks(30);
    state = WORM_DYING;
    frame = CREATURE_WORM_DROWN_FIRST;
    lastFrame = CREATURE_WORM_DROWN_LAST;
    if (length > 0)
        game.play.field.CellAt(Head().x, Head().y).creature = CREATURE_WORM_DROWN_FIRST;
    game.PlaySound("WormDeadWater");
}

void Worm::Finish(CGame& game) {
    stepInterval = game.MsToTicks(80);
    state = WORM_LEAVING;
    if (length > 0)
        game.play.field.CellAt(Head().x, Head().y).creature = CREATURE_WORM_LEAVING;
    frame = kNothing;
}

int32_t CGame::FindWormAt(int32_t x, int32_t y) const {
    for (size_t i = 0; i < play.worms.size(); ++i) {
        const Worm& worm = play.worms[i];
        if (worm.length > 0 && worm.Head().x == x && worm.Head().y == y)
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool CGame::BlockedForWormStep(int32_t x, int32_t y) const {
    return !play.field.Contains(x, y) || (play.field.CellAt(x, y).flags & FLAG_NO_WORMS) != 0;
}

bool CGame::BlockedForWormTurn(int32_t x, int32_t y) const {
    return BlockedForWormStep(x, y) || play.field.CellAt(x, y).creature != kNothing;
}

PlayResult CGame::UpdateWorms() {
    for (size_t i = 0; i < play.worms.size(); ++i)
        UpdateWorm(play.worms[i]);
    bool deleted = false;
    for (size_t i = play.worms.size(); i-- > 0;) {
        if (play.worms[i].state == WORM_GONE || play.worms[i].length < 1) {
            play.worms.erase(play.worms.begin() + static_cast<long>(i));
            deleted = true;
            if (play.activeWorm >= static_cast<int32_t>(play.worms.size()))
                --play.activeWorm;
        }
    }
    // The same number may now name another worm; its head must show as the current one.
    if (deleted)
        MarkWormHeads();
    if (!play.worms.empty())
        return PlayResult::Running;
    return play.cornLeft < 1 ? PlayResult::Won : PlayResult::Lost;
}

void CGame::UpdateWorm(Worm& worm) {
    if (play.now - worm.lastStep < worm.stepInterval)
        return;
    worm.lastStep = play.now;
    switch (worm.state) {
    case WORM_ALIVE:
        StepWorm(worm);
        if (play.cornLeft < 1)
            worm.Finish(*this);
        return;
    case WORM_DYING:
        if (worm.frame != worm.lastFrame) {
            ++worm.frame;
            if (worm.length > 0)
                play.field.CellAt(worm.Head().x, worm.Head().y).creature =
                    static_cast<uint8_t>(worm.frame);
        } else {
            worm.frame = kNothing;
            worm.state = WORM_DEAD;
            if (worm.length > 0) {
                play.field.CellAt(worm.Head().x, worm.Head().y).creature = kNothing;
                // The emptied head cell no longer belongs to the worm: others may enter it,
                // and neither the vanishing body nor a ghost looking for a head may find
                // the worm there.
                worm.DropHead();
            }
        }
        break;
    case WORM_LEAVING:
    case WORM_DEAD:
        if (worm.length > 0)
            worm.RemoveTail(play.field);
        if (worm.length < 1)
            worm.state = WORM_GONE;
        break;
    default:
        return;
    }
    RequestRedraw();
}

bool CGame::TryQueuedTurn(Worm& worm, int32_t& tx, int32_t& ty) {
    if (worm.queued1 == DIR_NONE)
        return false;
    SegmentPos h = worm.Head();
    if (play.field.CellAt(h.x, h.y).ground == GROUND_ICE && worm.direction != DIR_NONE &&
        !BlockedForWormTurn(h.x + DirectionDX(worm.direction), h.y + DirectionDY(worm.direction)))
        return false;
    int32_t x1 = h.x + DirectionDX(worm.queued1);
    int32_t y1 = h.y + DirectionDY(worm.queued1);
    if (!BlockedForWormTurn(x1, y1)) {
        worm.direction = worm.queued1;
        worm.queued1 = worm.queued2;
        worm.queued2 = DIR_NONE;
        tx = x1;
        ty = y1;
        return true;
    }
    if (worm.queued2 == DIR_NONE)
        return false;
    int32_t x2 = h.x + DirectionDX(worm.queued2);
    int32_t y2 = h.y + DirectionDY(worm.queued2);
    if (!BlockedForWormTurn(x2, y2)) {
        worm.direction = worm.queued2;
        worm.queued1 = DIR_NONE;
        worm.queued2 = DIR_NONE;
        tx = x2;
        ty = y2;
        return true;
    }
    return false;
}

void CGame::StepWorm(Worm& worm) {
    if (worm.length < 1)
        return;
    const SegmentPos h = worm.Head();
    const FieldCell& head = play.field.CellAt(h.x, h.y);

    int32_t forced = DIR_NONE;
    for (uint8_t code : head.objects) {
        switch (code) {
        case OBJ_TURN_LEFT:
            forced = TurnLeft(worm.direction);
            break;
        case OBJ_TURN_RIGHT:
            forced = TurnRight(worm.direction);
            break;
        case OBJ_ARROW_LEFT:
            forced = DIR_LEFT;
            break;
        case OBJ_ARROW_RIGHT:
            forced = DIR_RIGHT;
            break;
        case OBJ_ARROW_UP:
            forced = DIR_UP;
            break;
        case OBJ_ARROW_DOWN:
            forced = DIR_DOWN;
            break;
        default:
            break;
        }
    }

    int32_t tx = 0;
    int32_t ty = 0;
    bool forcedTaken = false;
    if (forced != DIR_NONE) {
        tx = h.x + DirectionDX(forced);
        ty = h.y + DirectionDY(forced);
        // A worm of one segment has nothing behind its head; its second ring slot is stale.
        bool behind = worm.length >= 2 && worm.Segment(1).x == tx && worm.Segment(1).y == ty;
        worm.queued1 = DIR_NONE;
        worm.queued2 = DIR_NONE;
        if (BlockedForWormStep(tx, ty) || behind) {
            worm.direction = DIR_NONE;
        } else {
            worm.direction = forced;
            forcedTaken = true;
        }
    }
    if (worm.direction == DIR_NONE && worm.queued1 == DIR_NONE)
        return;
    if (!forcedTaken && !TryQueuedTurn(worm, tx, ty)) {
        tx = h.x + DirectionDX(worm.direction);
        ty = h.y + DirectionDY(worm.direction);
        if (worm.direction == DIR_NONE || BlockedForWormStep(tx, ty)) {
            worm.direction = DIR_NONE;
            worm.queued1 = DIR_NONE;
            worm.queued2 = DIR_NONE;
            return;
        }
    }

    if (play.field.CellAt(tx, ty).creature != kNothing) {
        worm.Die(*this);
        RequestRedraw();
        return;
    }

    uint8_t eaten = play.field.CellAt(tx, ty).item;
    uint8_t left = EatItem(eaten, worm);
    play.field.CellAt(tx, ty).item = left;

    switch (eaten) {
    case ITEM_WORM_FASTER:
        worm.Faster(*this);
        worm.RemoveTail(play.field);
        break;
    case ITEM_WORM_SLOWER:
        worm.Slower(*this);
        worm.RemoveTail(play.field);
        break;
    case ITEM_ANTI_CORN:
        worm.RemoveTail(play.field);
        worm.RemoveTail(play.field);
        break;
    case ITEM_CORN:
        if (worm.length >= kMaxWormLength)
            worm.RemoveTail(play.field);
        break;
    default:
        worm.RemoveTail(play.field);
        break;
    }

    worm.PushHead({static_cast<uint16_t>(tx), static_cast<uint16_t>(ty)});
    if (IsCurrent(worm)) {
        play.field.CellAt(tx, ty).creature = CREATURE_WORM_CURRENT;
        SetViewTarget(false);
    } else {
        play.field.CellAt(tx, ty).creature = CREATURE_WORM_HEAD;
    }
    play.field.CellAt(worm.Segment(1).x, worm.Segment(1).y).creature = CREATURE_WORM_BODY;

    FieldCell& target = play.field.CellAt(tx, ty);
    TriggerSwitch(target);
    if (target.ground == GROUND_WATER) {
        worm.Drown(*this);
        RequestRedraw();
        return;
    }
    int32_t dx = tx - h.x;
    int32_t dy = ty - h.y;
    if ((CGameFieldBase::HasObject(target, OBJ_ARROW_LEFT) && dx == 1) ||
        (CGameFieldBase::HasObject(target, OBJ_ARROW_RIGHT) && dx == -1) ||
        (CGameFieldBase::HasObject(target, OBJ_ARROW_UP) && dy == 1) ||
        (CGameFieldBase::HasObject(target, OBJ_ARROW_DOWN) && dy == -1))
        worm.Die(*this);
    RequestRedraw();
}

} // namespace kx
