// CRandom, the program's one seedable pseudo-random generator (ghost walks, backgrounds).
#pragma once

#include <cstdint>

namespace kx {

// xorshift64* with 31-bit results: every low bit is well mixed, which the rules rely on
// (they take r mod n and the lowest two or three bits).
class CRandom {
public:
    explicit CRandom(uint64_t seed = 1) { Seed(seed); }
    void Seed(uint64_t seed) {
        state = seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull;
        if (state == 0)
            state = 1;
    }
    // 0 .. 0x7FFFFFFF.
    uint32_t Next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 33);
    }
    // Next() mod n, n >= 1.
    uint32_t Below(uint32_t n) { return Next() % n; }

    // Two generators in the same state draw the same numbers from here on.
    bool operator==(const CRandom&) const = default;

private:
    uint64_t state = 1;
};

} // namespace kx
