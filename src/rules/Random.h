// CRandom, the program's one seedable pseudo-random generator (ghost walks, backgrounds).
#pragma once

#include <cstdint>

namespace kx {

inline constexpr uint64_t kRandomSeedFactor = 0x9E3779B97F4A7C15ull;
inline constexpr uint64_t kRandomSeedOffset = 0x2545F4914F6CDD1Dull;

// The inverse of an odd number modulo 2^64, by Newton's iteration (each step doubles the
// correct low bits, from the 3 that x = a gives).
constexpr uint64_t InverseModulo2To64(uint64_t a) {
    uint64_t x = a;
    for (int i = 0; i < 5; ++i)
        x *= 2 - a * x;
    return x;
}
static_assert(kRandomSeedFactor * InverseModulo2To64(kRandomSeedFactor) == 1);

// xorshift64* with 31-bit results: every low bit is well mixed, which the rules rely on
// (they take r mod n and the lowest two or three bits).
class CRandom {
public:
    explicit CRandom(uint64_t seed = 1) { Seed(seed); }
    void Seed(uint64_t seed) {
        state = seed * kRandomSeedFactor + kRandomSeedOffset;
        if (state == 0)
            state = 1;
    }
    // The seed that puts a generator where this one stands: Seed is a bijection of the
    // 64-bit numbers, so every state has one. A tape taken in the middle of a session (the
    // game draws its backgrounds from the same generator) keeps its ghosts' walks this way.
    uint64_t SeedOfState() const {
        return (state - kRandomSeedOffset) * InverseModulo2To64(kRandomSeedFactor);
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
