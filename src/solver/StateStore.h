// CStateStore: the solver's visited states, packed in an arena and found through a hash table.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kx {

// Memory in 2 MB pages where the system grants them: the solver reads its table and arena at
// random, and with small pages nearly every such read would also miss the page-table cache.
class CLargeBuffer {
public:
    CLargeBuffer() = default;
    explicit CLargeBuffer(size_t bytes);
    uint8_t* Data() const { return data.get(); }
    size_t Size() const { return size; }

private:
    struct Free {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t, Free> data;
    size_t size = 0;
};

// What the search keeps beside a state's encoding: how it was first reached at the least cost.
struct StateLink {
    uint64_t parent = kNoParent; // the state it was reached from
    uint32_t timeSteps = 0;      // level time in timer steps, below kMaxTimeSteps
    // Whether an odd number of keys reached it. The search holds unexpanded states of two
    // neighbouring key counts only, so this bit tells which.
    bool oddKeys = false;
    uint8_t key = 0; // the key of the last move, 0 for waiting, else PlayKey + 1 (below 8)
    bool expanded = false;

    static constexpr uint64_t kNoParent = (uint64_t{1} << 40) - 1;
};

// Entries live in blocks that never move, so a state's id (its place in the arena) and a
// pointer to its encoding stay valid while the store grows. A slot of the table holds the id
// and the top bits of the hash, which settle most mismatches without touching the arena.
class CStateStore {
public:
    static constexpr uint32_t kMaxTimeSteps = 1u << 24;
    // The longest code a state may have.
    static constexpr size_t kMaxCodeBytes = (size_t{1} << 14) - 1;

    // The id of the state with this encoding, or kNone.
    uint64_t Find(const uint8_t* code, size_t size, uint64_t hash) const;
    // Stores a state that Find did not find and returns its id.
    uint64_t Add(const uint8_t* code, size_t size, uint64_t hash, const StateLink& link);

    // Starts loading the table slot where a search for hash begins.
    void Prefetch(uint64_t hash) const {
        if (tableSize > 0)
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
    static constexpr size_t kBlockBytes = size_t{2} << 20;
    static constexpr size_t kLinkBytes = 9;

    uint8_t* At(uint64_t id) const {
        return blocks[static_cast<size_t>(id / kBlockBytes)].Data() + id % kBlockBytes;
    }
    void Grow();
    bool Matches(uint64_t id, const uint8_t* code, size_t size) const;

    std::vector<CLargeBuffer> blocks;
    size_t used = kBlockBytes; // bytes used in the last block; a full one makes the next
    CLargeBuffer tableMemory;
    uint64_t* table = nullptr;
    size_t tableSize = 0;
    int tableShift = 64; // a slot's place: the hash's top bits
    uint64_t count = 0;
};

} // namespace kx
