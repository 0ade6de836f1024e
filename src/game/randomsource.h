#pragma once

#include <cstdint>

class Clock;

// The program's one pseudo-random generator: a linear congruential generator whose draws for a
// given seed are fixed, so a game can be replayed from its seed.
class RandomSource {
public:
    // A number r with 0 <= r < n for n >= 1, and 0 for n = 0. Advances the seed exactly once.
    std::int32_t RandomBelow(std::int32_t n);
    // Sets the seed to the milliseconds since midnight UTC.
    void ReseedFromClock(const Clock& clock);

    std::uint32_t randomSeed = 0;
};
