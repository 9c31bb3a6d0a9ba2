// Worm and Ghost, the two creature records, with the speed table of their step times.
#pragma once

#include <cstdint>
#include <vector>

#include "field/GameField.h"

namespace kx {

class CGame;

inline constexpr int32_t kSpeedCount = 16;
inline constexpr int32_t kStartSpeedIndex = 8;
inline constexpr int32_t kMaxWormLength = 200;

// Milliseconds between two steps at a speed index; indices outside 0..15 count as the nearest.
int32_t SpeedMs(int32_t speedIndex);

enum WormState : int32_t {
    WORM_GONE = 0,
    WORM_ALIVE = 1,
    WORM_DYING = 2,
    WORM_LEAVING = 3,
    WORM_DEAD = 4,
};

enum GhostState : int32_t {
    GHOST_DEAD = 0,
    GHOST_ALIVE = 1,
    GHOST_DYING = 2,
};

struct SegmentPos {
    uint16_t x = 0;
    uint16_t y = 0;
    bool operator==(const SegmentPos&) const = default;
};

struct Worm {
    int32_t state = WORM_ALIVE;
    int32_t length = 0;
    int32_t headSlot = 0;
    // A ring of segment slots that grows with the worm (at most kMaxWormLength): a level of a
    // million one-cell worms must not hold room for 200 segments each.
    std::vector<SegmentPos> segments;
    int32_t direction = DIR_NONE;
    int32_t queued1 = DIR_NONE;
    int32_t queued2 = DIR_NONE;
    int32_t frame = kNothing;
    int32_t lastFrame = kNothing;
    uint64_t stepInterval = 0;
    uint64_t lastStep = 0;
    int32_t speedIndex = kStartSpeedIndex;

    // Segment i: 0 is the head, length - 1 the tail.
    SegmentPos Segment(int32_t i) const {
        return segments[static_cast<size_t>(headSlot + i) % segments.size()];
    }
    SegmentPos Head() const { return Segment(0); }
    // A new head in front of the old one; the ring grows when it is full.
    void PushHead(SegmentPos p);
    // The head cell leaves the worm (a dead worm's emptied head); the rest stays.
    void DropHead();

    // The first key stays queued; a third replaces the second; a repeat of the first is dropped.
    void QueueDirection(int32_t d);
    // An arrow under the head gives the worm its first direction at level start.
    void StartDirectionFromArrow(const CGameFieldBase& field);
    // A living worm keeps at least one segment; other states may lose the last one.
    void RemoveTail(CGameFieldBase& field);
    void Faster(const CGame& game);
    void Slower(const CGame& game);
    void Die(CGame& game);
    void Drown(CGame& game);
    void Finish(CGame& game);

    // Equal worms play on alike: the ring's unused slots and where it starts do not count.
    bool operator==(const Worm& other) const;
};

struct Ghost {
    int32_t state = GHOST_ALIVE;
    int32_t x = 0;
    int32_t y = 0;
    int32_t direction = DIR_NONE;
    bool marked = false;
    uint64_t stepInterval = 0;
    uint64_t lastStep = 0;
    int32_t frame = kNothing;
    int32_t lastFrame = kNothing;
    int32_t speedIndex = kStartSpeedIndex;

    // The creature code its cell carries: 0, 1 when marked, or the death frame.
    uint8_t Code() const;
    void Faster(const CGame& game);
    void Slower(const CGame& game);
    void KillGhost(CGame& game);

    bool operator==(const Ghost&) const = default;
};

} // namespace kx
