// The solver's state encoding: varints, two-bit worm chains and a diff of the changeable cells.
#include "StateCodec.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace kx {

namespace {

// std::bit_cast, which emscripten's library lacks.
template <typename To, typename From> To BitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
                  std::is_trivially_copyable_v<From>);
    To to;
    std::memcpy(static_cast<void*>(&to), &from, sizeof(To));
    return to;
}

// Writes into room made beforehand: the encoder knows a bound of its output, and a byte
// written through a pointer costs far less than a checked push_back.
struct Writer {
    uint8_t* p;

    void Byte(uint8_t b) { *p++ = b; }
    void Var(uint64_t v) {
        while (v >= 0x80) {
            *p++ = static_cast<uint8_t>(v | 0x80);
            v >>= 7;
        }
        *p++ = static_cast<uint8_t>(v);
    }
    // Signed values around a typical one: the typical value costs one byte.
    void Int(int64_t v, int64_t typical) {
        const int64_t d = v - typical;
        Var((static_cast<uint64_t>(d) << 1) ^ static_cast<uint64_t>(d >> 63));
    }
    // Ticks, in whole timer steps where they divide.
    void Ticks(uint64_t ticks, uint64_t stepTicks) {
        if (ticks % stepTicks == 0 && ticks / stepTicks < (uint64_t{1} << 62)) {
            Var(ticks / stepTicks * 2);
        } else if (ticks < (uint64_t{1} << 62)) {
            Var(ticks * 2 + 1);
        } else {
            Var(1); // escape: the full value follows
            Var(ticks);
        }
    }
    void Bytes(const void* data, size_t n) {
        std::memcpy(p, data, n);
        p += n;
    }
};
constexpr size_t kMaxVar = 10;

struct Reader {
    const uint8_t* p;
    const uint8_t* end;
    bool ok = true;

    uint64_t Var() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (p == end) {
                ok = false;
                return 0;
            }
            const uint8_t b = *p++;
            v |= static_cast<uint64_t>(b & 0x7f) << shift;
            if ((b & 0x80) == 0)
                return v;
        }
        ok = false;
        return 0;
    }
    int64_t Int(int64_t typical) {
        const uint64_t z = Var();
        return static_cast<int64_t>((z >> 1) ^ (~(z & 1) + 1)) + typical;
    }
    int32_t Int32(int64_t typical) {
        const int64_t v = Int(typical);
        if (v < INT32_MIN || v > INT32_MAX)
            ok = false;
        return static_cast<int32_t>(v);
    }
    uint64_t Ticks(uint64_t stepTicks) {
        const uint64_t v = Var();
        if (v == 1)
            return Var();
        return (v & 1) ? v >> 1 : (v >> 1) * stepTicks;
    }
    uint8_t Byte() {
        if (p == end) {
            ok = false;
            return 0;
        }
        return *p++;
    }
};

constexpr size_t kCreatureOffset = offsetof(FieldCell, creature);
constexpr size_t kAfterCreature = kCreatureOffset + 1;
constexpr size_t kTailBytes = sizeof(FieldCell) - kAfterCreature;

bool SameBesidesCreature(const FieldCell& a, const FieldCell& b) {
    const auto* x = reinterpret_cast<const uint8_t*>(&a);
    const auto* y = reinterpret_cast<const uint8_t*>(&b);
    return std::memcmp(x, y, kCreatureOffset) == 0 &&
           std::memcmp(x + kAfterCreature, y + kAfterCreature, kTailBytes) == 0;
}

// Equal but for item and creature code.
bool SameBesidesItem(const FieldCell& a, const FieldCell& b) {
    const auto* x = reinterpret_cast<const uint8_t*>(&a);
    const auto* y = reinterpret_cast<const uint8_t*>(&b);
    static_assert(offsetof(FieldCell, item) + 1 == kCreatureOffset);
    return std::memcmp(x, y, offsetof(FieldCell, item)) == 0 &&
           std::memcmp(x + kAfterCreature, y + kAfterCreature, kTailBytes) == 0;
}

// now is was with its layers exchanged, but for item and creature code.
bool SwappedBesidesItem(const FieldCell& now, const FieldCell& was) {
    return now.ground == was.swGround && now.swGround == was.ground &&
           std::memcmp(now.objects, was.swObjects, kObjectSlots) == 0 &&
           std::memcmp(now.swObjects, was.objects, kObjectSlots) == 0 && now.swItem == was.item &&
           now.flags == was.swFlags && now.swFlags == was.flags && now.switchNo == was.switchNo &&
           now.extraFlags == was.extraFlags;
}

FieldCell Swapped(FieldCell c) {
    std::swap(c.ground, c.swGround);
    std::swap(c.objects, c.swObjects);
    std::swap(c.item, c.swItem);
    std::swap(c.flags, c.swFlags);
    return c;
}

// How a changeable cell differs from its start.
enum CellChange : uint8_t {
    ItemGone,            // the item is eaten
    ItemIs,              // another item; its code follows
    LayersSwapped,       // a switch exchanged the layers
    SwappedItemGone,     // both
    SwappedItemIs,       // swapped, then another item; its code follows
    AllBytes,            // anything else: every byte but the creature code follows
    kCellChangeKinds = 8 // three bits of the varint
};

// The direction from one segment to the next, or -1 when they do not touch.
int StepCode(SegmentPos a, SegmentPos b) {
    const int dx = int(b.x) - int(a.x);
    const int dy = int(b.y) - int(a.y);
    if (dx == 0 && dy == -1)
        return 0;
    if (dx == 0 && dy == 1)
        return 1;
    if (dx == -1 && dy == 0)
        return 2;
    if (dx == 1 && dy == 0)
        return 3;
    return -1;
}

SegmentPos StepFrom(SegmentPos a, int code) {
    static constexpr int kDx[4] = {0, 0, -1, 1};
    static constexpr int kDy[4] = {-1, 1, 0, 0};
    return {static_cast<uint16_t>(a.x + kDx[code]), static_cast<uint16_t>(a.y + kDy[code])};
}

bool SmallDirection(int32_t d) {
    return d >= DIR_NONE && d <= DIR_RIGHT;
}

// Calls visit(segment) for each segment of the worm from head to tail; the ring is walked
// without a division per segment.
template <typename Visit> void ForEachSegment(const Worm& w, Visit visit) {
    const size_t size = w.segments.size();
    size_t slot = static_cast<size_t>(w.headSlot) % std::max<size_t>(size, 1);
    for (int32_t i = 0; i < w.length; ++i) {
        visit(w.segments[slot]);
        if (++slot == size)
            slot = 0;
    }
}

// The creature code each creature implies for its cells, in the order the encoding paints
// them; visit(cell index, code) for every cell inside the field.
template <typename Visit>
void PaintCreatures(const PlayState& s, int32_t w, int32_t h, Visit visit) {
    auto at = [&](int32_t x, int32_t y, uint8_t code) {
        if (x >= 0 && y >= 0 && x < w && y < h)
            visit(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x), code);
    };
    for (size_t i = 0; i < s.worms.size(); ++i) {
        const Worm& worm = s.worms[i];
        if (worm.length < 1)
            continue;
        // Body first, head last: a head over its own body shows the head.
        bool first = true;
        ForEachSegment(worm, [&](SegmentPos p) {
            if (!first)
                at(p.x, p.y, CREATURE_WORM_BODY);
            first = false;
        });
        uint8_t head = CREATURE_WORM_BODY;
        if (worm.state == WORM_ALIVE)
            head = static_cast<int32_t>(i) == s.activeWorm ? CREATURE_WORM_CURRENT
                                                           : CREATURE_WORM_HEAD;
        else if (worm.state == WORM_LEAVING)
            head = CREATURE_WORM_LEAVING;
        else if (worm.state == WORM_DYING)
            head = static_cast<uint8_t>(worm.frame);
        at(worm.Head().x, worm.Head().y, head);
    }
    for (const Ghost& g : s.ghosts)
        if (g.state != GHOST_DEAD)
            at(g.x, g.y, g.Code());
}

} // namespace

CStateCodec::CStateCodec(const PlayState& start, uint64_t stepTicks_, uint64_t phaseCap_)
    : base(start.field), startRandom(start.random), stepTicks(std::max<uint64_t>(stepTicks_, 1)),
      phaseCap(phaseCap_) {
    constexpr uint8_t kClosed = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
    for (size_t i = 0; i < base.cells.size(); ++i) {
        FieldCell& c = base.cells[i];
        // Creatures stand only where they start or may step; closed cells never change code.
        const bool open = (c.flags & kClosed) != kClosed ||
                          (c.switchNo != kNothing && (c.swFlags & kClosed) != kClosed);
        if (open || c.creature != kNothing)
            creatureCells.push_back(static_cast<uint32_t>(i));
        c.creature = kNothing;
        if (c.item != kNothing || c.swItem != kNothing || c.switchNo != kNothing)
            volatileCells.push_back(static_cast<uint32_t>(i));
    }
    implied.assign(base.cells.size(), kNothing);
}

void CStateCodec::Encode(const PlayState& s, uint64_t counter, std::vector<uint8_t>& out) const {
    const bool sameShape = s.field.cells.size() == base.cells.size() &&
                           static_cast<int64_t>(s.field.width) * s.field.height ==
                               static_cast<int64_t>(implied.size());
    size_t bound = 16 + 4 * kMaxVar + s.ghosts.size() * 12 * kMaxVar;
    for (const Worm& w : s.worms)
        bound += 12 * kMaxVar + 2 * kMaxVar * static_cast<size_t>(std::max(w.length, 0));
    if (sameShape)
        bound += 2 * kMaxVar + volatileCells.size() * (kMaxVar + sizeof(FieldCell)) +
                 creatureCells.size() * (kMaxVar + 1);
    const size_t startSize = out.size();
    out.resize(startSize + bound);
    Writer o{out.data() + startSize};

    const bool randomMoved = !(s.random == startRandom);
    o.Byte(static_cast<uint8_t>((s.notInLevel ? 1 : 0) | (randomMoved ? 2 : 0)));
    if (randomMoved) {
        const uint64_t r = BitCast<uint64_t>(s.random);
        for (int i = 0; i < 8; ++i)
            o.Byte(static_cast<uint8_t>(r >> (8 * i)));
    }
    o.Int(s.activeWorm, 0);
    o.Int(s.cornLeft, 0);
    auto phase = [&](uint64_t lastStep, uint64_t interval) {
        return std::min(counter - lastStep, std::max(phaseCap, interval));
    };

    o.Var(s.worms.size());
    for (const Worm& w : s.worms) {
        // The steps from each segment to the next, two bits each, or raw cells when one
        // does not touch its neighbour.
        chainCodes.clear();
        bool chain = true;
        SegmentPos before{};
        bool head = true;
        ForEachSegment(w, [&](SegmentPos p) {
            if (!head) {
                const int code = StepCode(before, p);
                chain = chain && code >= 0;
                chainCodes.push_back(static_cast<uint8_t>(code & 3));
            }
            head = false;
            before = p;
        });
        const bool small = w.state >= 0 && w.state < 8 && SmallDirection(w.direction) &&
                           SmallDirection(w.queued1) && SmallDirection(w.queued2);
        if (small) {
            o.Byte(static_cast<uint8_t>(w.state | (chain ? 8 : 0)));
            o.Byte(static_cast<uint8_t>(w.direction + 5 * w.queued1 + 25 * w.queued2));
        } else {
            o.Byte(static_cast<uint8_t>(0x80 | (chain ? 8 : 0)));
            for (int32_t v : {w.state, w.direction, w.queued1, w.queued2})
                o.Int(v, 0);
        }
        o.Var(static_cast<uint64_t>(std::max(w.length, 0)));
        o.Int(w.frame, kNothing);
        o.Int(w.lastFrame, kNothing);
        o.Int(w.speedIndex, kStartSpeedIndex);
        o.Ticks(w.stepInterval, stepTicks);
        o.Ticks(phase(w.lastStep, w.stepInterval), stepTicks);
        if (w.length < 1)
            continue;
        o.Var(w.Head().x);
        o.Var(w.Head().y);
        if (chain) {
            for (size_t i = 0; i < chainCodes.size(); i += 4) {
                uint8_t packed = 0;
                for (size_t k = i; k < i + 4 && k < chainCodes.size(); ++k)
                    packed |= static_cast<uint8_t>(chainCodes[k] << (2 * (k - i)));
                o.Byte(packed);
            }
        } else {
            bool first = true;
            ForEachSegment(w, [&](SegmentPos p) {
                if (!first) {
                    o.Var(p.x);
                    o.Var(p.y);
                }
                first = false;
            });
        }
    }

    o.Var(s.ghosts.size());
    for (const Ghost& g : s.ghosts) {
        const bool small = g.state >= 0 && g.state < 4 && SmallDirection(g.direction);
        if (small) {
            o.Byte(static_cast<uint8_t>(g.state | (g.marked ? 4 : 0) | g.direction << 3));
        } else {
            o.Byte(static_cast<uint8_t>(0x80 | (g.marked ? 4 : 0)));
            o.Int(g.state, 0);
            o.Int(g.direction, 0);
        }
        o.Int(g.x, 0);
        o.Int(g.y, 0);
        o.Int(g.frame, kNothing);
        o.Int(g.lastFrame, kNothing);
        o.Int(g.speedIndex, kStartSpeedIndex);
        o.Ticks(g.stepInterval, stepTicks);
        o.Ticks(phase(g.lastStep, g.stepInterval), stepTicks);
    }

    if (!sameShape) {
        // Not this level's field: a count that no decode accepts.
        o.Var(uint64_t{1} << 40);
        out.resize(static_cast<size_t>(o.p - out.data()));
        return;
    }

    // The changeable cells: a count, then for each changed one its distance and kind.
    uint8_t* countAt = o.p++;
    size_t changed = 0;
    size_t previous = 0;
    for (size_t j = 0; j < volatileCells.size(); ++j) {
        const FieldCell& now = s.field.cells[volatileCells[j]];
        const FieldCell& was = base.cells[volatileCells[j]];
        if (SameBesidesCreature(now, was))
            continue;
        uint8_t kind = AllBytes;
        if (SameBesidesItem(now, was))
            kind = now.item == kNothing ? ItemGone : ItemIs;
        else if (SwappedBesidesItem(now, was))
            kind = now.item == was.swItem ? LayersSwapped
                   : now.item == kNothing ? SwappedItemGone
                                          : SwappedItemIs;
        o.Var((j - previous) * kCellChangeKinds + kind);
        previous = j;
        if (kind == ItemIs || kind == SwappedItemIs)
            o.Byte(now.item);
        if (kind == AllBytes) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(&now);
            o.Bytes(bytes, kCreatureOffset);
            o.Bytes(bytes + kAfterCreature, kTailBytes);
        }
        ++changed;
    }
    if (changed < 0x80) {
        *countAt = static_cast<uint8_t>(changed);
    } else {
        // Rare: the count needs more bytes; the entries move up to make room.
        uint8_t count[kMaxVar];
        Writer c{count};
        c.Var(changed);
        const size_t extra = static_cast<size_t>(c.p - count) - 1;
        std::memmove(countAt + 1 + extra, countAt + 1, static_cast<size_t>(o.p - countAt - 1));
        std::memcpy(countAt, count, extra + 1);
        o.p += extra;
    }

    // Creature codes the creatures do not explain: a count, then distance and code.
    const int32_t w = s.field.width;
    const int32_t h = s.field.height;
    PaintCreatures(s, w, h, [&](size_t i, uint8_t code) { implied[i] = code; });
    odd.clear();
    const FieldCell* cells = s.field.cells.data();
    const uint8_t* expected = implied.data();
    for (uint32_t i : creatureCells)
        if (cells[i].creature != expected[i]) [[unlikely]]
            odd.emplace_back(i, cells[i].creature);
    PaintCreatures(s, w, h, [&](size_t i, uint8_t) { implied[i] = kNothing; });
    o.Var(odd.size());
    size_t last = 0;
    for (auto [i, code] : odd) {
        o.Var(i - last);
        last = i;
        o.Byte(code);
    }
    out.resize(static_cast<size_t>(o.p - out.data()));
}

bool CStateCodec::Decode(const uint8_t* data, size_t size, uint64_t counter, PlayState& s) const {
    Reader r{data, data + size};
    if (s.field.width != base.width || s.field.height != base.height ||
        s.field.cells.size() != base.cells.size() || s.field.description != base.description)
        s.field = base;
    else
        std::memcpy(s.field.cells.data(), base.cells.data(), base.cells.size() * sizeof(FieldCell));
    const uint8_t flags = r.Byte();
    s.notInLevel = (flags & 1) != 0;
    s.random = startRandom;
    if (flags & 2) {
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v |= static_cast<uint64_t>(r.Byte()) << (8 * i);
        s.random = BitCast<CRandom>(v);
    }
    if ((flags & ~3) != 0)
        return false;
    s.activeWorm = r.Int32(0);
    s.cornLeft = r.Int32(0);
    s.now = counter >= stepTicks ? counter - stepTicks : 0;

    const uint64_t worms = r.Var();
    if (!r.ok || worms > size)
        return false;
    s.worms.resize(static_cast<size_t>(worms));
    for (Worm& w : s.worms) {
        const uint8_t first = r.Byte();
        const bool chain = (first & 8) != 0;
        if (first & 0x80) {
            w.state = r.Int32(0);
            w.direction = r.Int32(0);
            w.queued1 = r.Int32(0);
            w.queued2 = r.Int32(0);
        } else {
            const uint8_t dirs = r.Byte();
            if (dirs >= 125)
                return false;
            w.state = first & 7;
            w.direction = dirs % 5;
            w.queued1 = dirs / 5 % 5;
            w.queued2 = dirs / 25;
        }
        const uint64_t length = r.Var();
        if (!r.ok || length > static_cast<uint64_t>(kMaxWormLength))
            return false;
        w.length = static_cast<int32_t>(length);
        w.frame = r.Int32(kNothing);
        w.lastFrame = r.Int32(kNothing);
        w.speedIndex = r.Int32(kStartSpeedIndex);
        w.stepInterval = r.Ticks(stepTicks);
        w.lastStep = counter - r.Ticks(stepTicks);
        w.headSlot = 0;
        w.segments.resize(static_cast<size_t>(length));
        if (length == 0)
            continue;
        SegmentPos p{static_cast<uint16_t>(r.Var()), static_cast<uint16_t>(r.Var())};
        w.segments[0] = p;
        if (chain) {
            uint8_t packed = 0;
            for (size_t i = 1; i < length; ++i) {
                if ((i - 1) % 4 == 0)
                    packed = r.Byte();
                p = StepFrom(p, (packed >> (2 * ((i - 1) % 4))) & 3);
                w.segments[i] = p;
            }
        } else {
            for (size_t i = 1; i < length; ++i)
                w.segments[i] = {static_cast<uint16_t>(r.Var()), static_cast<uint16_t>(r.Var())};
        }
    }

    for (const Worm& w : s.worms)
        for (const SegmentPos& p : w.segments)
            if (!s.field.Contains(p.x, p.y))
                return false; // the rules index the field by these without asking

    const uint64_t ghosts = r.Var();
    if (!r.ok || ghosts > size)
        return false;
    s.ghosts.resize(static_cast<size_t>(ghosts));
    for (Ghost& g : s.ghosts) {
        const uint8_t first = r.Byte();
        g.marked = (first & 4) != 0;
        if (first & 0x80) {
            g.state = r.Int32(0);
            g.direction = r.Int32(0);
        } else {
            g.state = first & 3;
            g.direction = first >> 3;
        }
        g.x = r.Int32(0);
        g.y = r.Int32(0);
        g.frame = r.Int32(kNothing);
        g.lastFrame = r.Int32(kNothing);
        g.speedIndex = r.Int32(kStartSpeedIndex);
        g.stepInterval = r.Ticks(stepTicks);
        g.lastStep = counter - r.Ticks(stepTicks);
        if (!s.field.Contains(g.x, g.y))
            return false; // the ghost rules index the field by it
    }
    if (!r.ok)
        return false;

    const uint64_t changed = r.Var();
    size_t j = 0;
    for (uint64_t n = 0; n < changed && r.ok; ++n) {
        const uint64_t v = r.Var();
        j += static_cast<size_t>(v / kCellChangeKinds);
        const uint8_t kind = static_cast<uint8_t>(v % kCellChangeKinds);
        if (!r.ok || j >= volatileCells.size() || kind > AllBytes)
            return false;
        FieldCell& cell = s.field.cells[volatileCells[j]];
        const uint8_t creature = cell.creature;
        if (kind >= LayersSwapped && kind <= SwappedItemIs)
            cell = Swapped(cell);
        if (kind == ItemGone || kind == SwappedItemGone)
            cell.item = kNothing;
        if (kind == ItemIs || kind == SwappedItemIs)
            cell.item = r.Byte();
        if (kind == AllBytes) {
            if (static_cast<size_t>(r.end - r.p) < sizeof(FieldCell) - 1)
                return false;
            auto* bytes = reinterpret_cast<uint8_t*>(&cell);
            std::memcpy(bytes, r.p, kCreatureOffset);
            std::memcpy(bytes + kAfterCreature, r.p + kCreatureOffset, kTailBytes);
            r.p += sizeof(FieldCell) - 1;
        }
        cell.creature = creature;
    }

    PaintCreatures(s, s.field.width, s.field.height,
                   [&](size_t i, uint8_t code) { s.field.cells[i].creature = code; });
    const uint64_t odd = r.Var();
    if (!r.ok || odd > s.field.cells.size())
        return false;
    size_t i = 0;
    for (uint64_t n = 0; n < odd; ++n) {
        i += static_cast<size_t>(r.Var());
        const uint8_t code = r.Byte();
        if (!r.ok || i >= s.field.cells.size())
            return false;
        s.field.cells[i].creature = code;
    }
    return r.ok && r.p == r.end;
}

} // namespace kx
