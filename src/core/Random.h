#pragma once
#include <cstdint>

// 32-bit xorshift (13, 17, 5). Levels, special stages and effects each own
// one of these; the order of draws from a generator is part of what makes a
// course the same on every machine.
struct XorShift32 {
    std::uint32_t state = 1;

    XorShift32() = default;
    explicit XorShift32(std::uint32_t seed) : state(seed) {}

    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }

    // A float in [0, 1) from the low 24 bits of the next value.
    float rand() { return float(next() & 0xFFFFFFu) / 16777216.0f; }
};
