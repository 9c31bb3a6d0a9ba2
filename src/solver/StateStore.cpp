// The solver's state store: an arena of links and encodings and an open-addressing table.
#include "StateStore.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace kx {

namespace {

// An entry: the link (parent 5 bytes, time 3, key and marks 1), the size of the
// encoding (one or two bytes), the encoding.
constexpr int kIdBits = 40;
constexpr uint64_t kIdMask = (uint64_t{1} << kIdBits) - 1;
constexpr uint8_t kExpandedBit = 0x80;
constexpr uint8_t kOddKeysBit = 0x40;
constexpr uint8_t kKeyBits = 0x07;

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

CLargeBuffer::CLargeBuffer(size_t bytes) {
    constexpr size_t kPage = size_t{2} << 20;
    size = (bytes + kPage - 1) / kPage * kPage;
    data.reset(static_cast<uint8_t*>(std::aligned_alloc(kPage, size)));
    if (!data)
        throw std::bad_alloc();
#ifdef __linux__
    madvise(data.get(), size, MADV_HUGEPAGE); // advice only: small pages work as well
#endif
}

void CLargeBuffer::Free::operator()(uint8_t* p) const {
    std::free(p);
}

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
    if (tableSize == 0)
        return kNone;
    const uint64_t mask = tableSize - 1;
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
    CLargeBuffer old = std::move(tableMemory);
    const uint64_t* oldTable = table;
    const size_t oldSize = tableSize;
    tableSize = oldSize == 0 ? 1024 : oldSize * 2;
    tableMemory = CLargeBuffer(tableSize * sizeof(uint64_t));
    table = reinterpret_cast<uint64_t*>(tableMemory.Data());
    std::memset(table, 0, tableSize * sizeof(uint64_t));
    tableShift = 64 - std::countr_zero(tableSize);
    const uint64_t mask = tableSize - 1;
    for (size_t k = 0; k < oldSize; ++k) {
        const uint64_t slot = oldTable[k];
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
    if (size > kMaxCodeBytes)
        throw std::length_error("a solver state encodes to more than 16 KB");
    const size_t need = kLinkBytes + (size < 0x80 ? 1 : 2) + size;
    if (used + need > kBlockBytes) {
        blocks.emplace_back(kBlockBytes);
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

    if ((count + 1) * 4 > tableSize * 3)
        Grow();
    const uint64_t mask = tableSize - 1;
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
    link.timeSteps = static_cast<uint32_t>(GetBytes(p + 5, 3));
    link.key = p[8] & kKeyBits;
    link.oddKeys = (p[8] & kOddKeysBit) != 0;
    link.expanded = (p[8] & kExpandedBit) != 0;
    return link;
}

void CStateStore::SetLink(uint64_t id, const StateLink& link) {
    if (link.timeSteps >= kMaxTimeSteps || link.key > kKeyBits)
        throw std::out_of_range("a solver state's time or key does not fit its link");
    uint8_t* p = At(id);
    PutBytes(p, link.parent, 5);
    PutBytes(p + 5, link.timeSteps, 3);
    p[8] = static_cast<uint8_t>(link.key | (link.oddKeys ? kOddKeysBit : 0) |
                                (link.expanded ? kExpandedBit : 0));
}

uint64_t CStateStore::Bytes() const {
    return blocks.size() * kBlockBytes + tableSize * sizeof(uint64_t);
}

} // namespace kx
