// CGameFieldBase: creating fields, switching layers and the object stacks.
#include "field/GameField.h"

#include <algorithm>
#include <utility>

namespace kx {

int32_t ReverseDirection(int32_t d) {
    switch (d) {
    case DIR_UP:
        return DIR_DOWN;
    case DIR_DOWN:
        return DIR_UP;
    case DIR_LEFT:
        return DIR_RIGHT;
    case DIR_RIGHT:
        return DIR_LEFT;
    default:
        return DIR_NONE;
    }
}

int32_t TurnLeft(int32_t d) {
    switch (d) {
    case DIR_UP:
        return DIR_LEFT;
    case DIR_LEFT:
        return DIR_DOWN;
    case DIR_DOWN:
        return DIR_RIGHT;
    case DIR_RIGHT:
        return DIR_UP;
    default:
        return DIR_NONE;
    }
}

int32_t TurnRight(int32_t d) {
    switch (d) {
    case DIR_UP:
        return DIR_RIGHT;
    case DIR_RIGHT:
        return DIR_DOWN;
    case DIR_DOWN:
        return DIR_LEFT;
    case DIR_LEFT:
        return DIR_UP;
    default:
        return DIR_NONE;
    }
}

int32_t DirectionDX(int32_t d) {
    return d == DIR_LEFT ? -1 : d == DIR_RIGHT ? 1 : 0;
}
int32_t DirectionDY(int32_t d) {
    return d == DIR_UP ? -1 : d == DIR_DOWN ? 1 : 0;
}

void CGameFieldBase::CreateField(int32_t w, int32_t h) {
    width = std::clamp(w, kMinFieldSize, kMaxFieldSize);
    height = std::clamp(h, kMinFieldSize, kMaxFieldSize);
    cells.assign(static_cast<size_t>(width) * height, FieldCell{});
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            FieldCell& c = CellAt(x, y);
            bool border = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            c.ground = border ? WALL_STYLE_RED + WALL_PIECE_SINGLE : GROUND_PLAIN;
            c.flags = border ? FLAG_NO_WORMS | FLAG_NO_GHOSTS : 0;
            std::fill(std::begin(c.objects), std::end(c.objects), kNothing);
            c.item = kNothing;
            c.creature = kNothing;
            c.swGround = c.ground;
            c.swFlags = c.flags;
            std::fill(std::begin(c.swObjects), std::end(c.swObjects), kNothing);
            c.swItem = kNothing;
            c.switchNo = kNothing;
            c.extraFlags = 0;
        }
    }
}

void CGameFieldBase::ToggleSwitch(uint8_t number) {
    if (number == kNothing)
        return;
    for (FieldCell& c : cells) {
        if (c.switchNo != number)
            continue;
        std::swap(c.ground, c.swGround);
        std::swap(c.objects, c.swObjects);
        std::swap(c.item, c.swItem);
        std::swap(c.flags, c.swFlags);
    }
}

bool CGameFieldBase::HasObject(const FieldCell& cell, uint8_t code) {
    return std::find(std::begin(cell.objects), std::end(cell.objects), code) !=
           std::end(cell.objects);
}

bool CGameFieldBase::PlaceObject(FieldCell& cell, FieldLayer layer, uint8_t code) {
    uint8_t* slots = layer == FieldLayer::Normal ? cell.objects : cell.swObjects;
    uint8_t* end = slots + kObjectSlots;
    uint8_t* present = std::find(slots, end, code);
    if (present != end) {
        // Close the gap so that the code can go on top of the stack.
        std::move(present + 1, end, present);
        end[-1] = kNothing;
    }
    uint8_t* freeSlot = std::find(slots, end, kNothing);
    if (freeSlot == end)
        return false;
    *freeSlot = code;
    return true;
}

bool CGameFieldBase::ClearObjects(FieldCell& cell, FieldLayer layer) {
    uint8_t* slots = layer == FieldLayer::Normal ? cell.objects : cell.swObjects;
    bool any = std::any_of(slots, slots + kObjectSlots, [](uint8_t s) { return s != kNothing; });
    std::fill(slots, slots + kObjectSlots, kNothing);
    return any;
}

} // namespace kx
