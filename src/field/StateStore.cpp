// The solver's state store: an arena of links and encodings and an open-addressing table.
#include "StateStore.h"

#include <bit>
#include <cstring>
#include <stdexcept>

namespace kx {

namespace {

// An entry: the link (parent 5 bytes, time 4, keys 3, key and mark 1), the size of the
// encoding (one or two bytes), the encoding.
constexpr int kIdBits = 40;
constexpr uint64_t kIdMask = (uint64_t{1} << kIdBits) - 1;
constexpr uint8_t kExpandedBit = 0x80;

void PutBytes(uint8_t* p, uint64_t v, int n) {
    for (int i = 0; i < n; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t GetBytes(const uint8_t* p, int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i)
        v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return v;
}

uint64_t Mix(uint64_t h, uint64_t k) {
    h = (h ^ k) * 0xbf58476d1ce4e5b9ull;
    return h ^ (h >> 31);
}

} // namespace

uint64_t CStateStore::Hash(const uint8_t* code, size_t size) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t k;
        std::memcpy(&k, code + i, 8);
        h = Mix(h, k);
    }
    if (i < size) {
        uint64_t k = 0;
        std::memcpy(&k, code + i, size - i);
        h = Mix(h, k);
    }
    h ^= h >> 29;
    h *= 0x94d049bb133111ebull;
    return h ^ (h >> 32);
}

const uint8_t* CStateStore::Code(uint64_t id, size_t& size) const {
    const uint8_t* p = At(id) + kLinkBytes;
    size = p[0] & 0x7f;
    if (p[0] & 0x80) {
        size |= static_cast<size_t>(p[1]) << 7;
        return p + 2;
    }
    return p + 1;
}

bool CStateStore::Matches(uint64_t id, const uint8_t* code, size_t size) const {
    size_t stored = 0;
    const uint8_t* p = Code(id, stored);
    return stored == size && std::memcmp(p, code, size) == 0;
}

uint64_t CStateStore::Find(const uint8_t* code, size_t size, uint64_t hash) const {
    if (table.empty())
        return kNone;
    const uint64_t mask = table.size() - 1;
    const uint64_t tag = hash >> kIdBits;
    for (uint64_t i = hash >> tableShift;; i = (i + 1) & mask) {
        const uint64_t slot = table[i];
        if (slot == 0)
            return kNone;
        if (slot >> kIdBits == tag && Matches((slot & kIdMask) - 1, code, size))
            return (slot & kIdMask) - 1;
    }
}

void CStateStore::Grow() {
    std::vector<uint64_t> old;
    old.swap(table);
    table.assign(old.empty() ? 1024 : old.size() * 2, 0);
    tableShift = 64 - std::countr_zero(table.size());
    const uint64_t mask = table.size() - 1;
    for (uint64_t slot : old) {
        if (slot == 0)
            continue;
        // The slot's tag holds the hash's top bits, which pick the place while they suffice.
        uint64_t i = 0;
        if (tableShift >= kIdBits) {
            i = (slot >> kIdBits) >> (tableShift - kIdBits);
        } else {
            size_t size = 0;
            const uint8_t* code = Code((slot & kIdMask) - 1, size);
            i = Hash(code, size) >> tableShift;
        }
        while (table[i] != 0)
            i = (i + 1) & mask;
        table[i] = slot;
    }
}

uint64_t CStateStore::Add(const uint8_t* code, size_t size, uint64_t hash, const StateLink& link) {
    if (size >= (size_t{1} << 14))
        throw std::length_error("a solver state encodes to more than 16 KB");
    const size_t need = kLinkBytes + (size < 0x80 ? 1 : 2) + size;
    if (used + need > kBlockBytes) {
        blocks.push_back(std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes));
        used = 0;
    }
    const uint64_t id = (blocks.size() - 1) * kBlockBytes + used;
    if (id >= kIdMask)
        throw std::length_error("the solver's state store is full");
    used += need;
    uint8_t* p = At(id) + kLinkBytes;
    if (size < 0x80) {
        *p++ = static_cast<uint8_t>(size);
    } else {
        *p++ = static_cast<uint8_t>(size | 0x80);
        *p++ = static_cast<uint8_t>(size >> 7);
    }
    std::memcpy(p, code, size);
    SetLink(id, link);

    if ((count + 1) * 4 > table.size() * 3)
        Grow();
    const uint64_t mask = table.size() - 1;
    uint64_t i = hash >> tableShift;
    while (table[i] != 0)
        i = (i + 1) & mask;
    table[i] = (hash >> kIdBits) << kIdBits | (id + 1);
    ++count;
    return id;
}

StateLink CStateStore::Link(uint64_t id) const {
    const uint8_t* p = At(id);
    StateLink link;
    link.parent = GetBytes(p, 5);
    link.timeSteps = static_cast<uint32_t>(GetBytes(p + 5, 4));
    link.keys = static_cast<uint32_t>(GetBytes(p + 9, 3));
    link.key = p[12] & 0x7f;
    link.expanded = (p[12] & kExpandedBit) != 0;
    return link;
}

void CStateStore::SetLink(uint64_t id, const StateLink& link) {
    uint8_t* p = At(id);
    PutBytes(p, link.parent, 5);
    PutBytes(p + 5, link.timeSteps, 4);
    PutBytes(p + 9, link.keys, 3);
    p[12] = static_cast<uint8_t>((link.key & 0x7f) | (link.expanded ? kExpandedBit : 0));
}

uint64_t CStateStore::Bytes() const {
    return blocks.size() * kBlockBytes + table.size() * sizeof(uint64_t);
}

} // namespace kx
