// CStateStore: the solver's visited states, packed in an arena and found through a hash table.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kx {

// What the search keeps beside a state's encoding: how it was first reached at the least cost.
struct StateLink {
    uint64_t parent = kNoParent; // the state it was reached from
    uint32_t timeSteps = 0;      // level time in timer steps
    uint32_t keys = 0;           // keys pressed to reach it
    uint8_t key = 0;             // the key of the last move, 0 for waiting, else PlayKey + 1
    bool expanded = false;

    static constexpr uint64_t kNoParent = (uint64_t{1} << 40) - 1;
};

// Entries live in blocks that never move, so a state's id (its place in the arena) and a
// pointer to its encoding stay valid while the store grows. A slot of the table holds the id
// and the top bits of the hash, which settle most mismatches without touching the arena.
class CStateStore {
public:
    static constexpr uint32_t kMaxKeys = (1u << 24) - 1;

    // The id of the state with this encoding, or kNone.
    uint64_t Find(const uint8_t* code, size_t size, uint64_t hash) const;
    // Stores a state that Find did not find and returns its id.
    uint64_t Add(const uint8_t* code, size_t size, uint64_t hash, const StateLink& link);

    // Starts loading the table slot where a search for hash begins.
    void Prefetch(uint64_t hash) const {
        if (!table.empty())
            __builtin_prefetch(&table[hash >> tableShift]);
    }

    StateLink Link(uint64_t id) const;
    void SetLink(uint64_t id, const StateLink& link);
    const uint8_t* Code(uint64_t id, size_t& size) const;

    uint64_t Count() const { return count; }
    // The arena's blocks and the table, as allocated.
    uint64_t Bytes() const;

    static uint64_t Hash(const uint8_t* code, size_t size);
    static constexpr uint64_t kNone = ~uint64_t{0};

private:
    static constexpr size_t kBlockBytes = size_t{1} << 20;
    static constexpr size_t kLinkBytes = 13;

    uint8_t* At(uint64_t id) const {
        return blocks[static_cast<size_t>(id / kBlockBytes)].get() + id % kBlockBytes;
    }
    void Grow();
    bool Matches(uint64_t id, const uint8_t* code, size_t size) const;

    std::vector<std::unique_ptr<uint8_t[]>> blocks;
    size_t used = kBlockBytes; // bytes used in the last block; a full one makes the next
    std::vector<uint64_t> table;
    int tableShift = 64; // a slot's place: the hash's top bits
    uint64_t count = 0;
};

} // namespace kx
