#include "randomsource.h"

#include "game/clock.h"

std::int32_t RandomSource::RandomBelow(std::int32_t n)
{
    randomSeed = randomSeed * 134775813u + 1u;
    const std::uint64_t product =
        static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * randomSeed;
    return static_cast<std::int32_t>(product >> 32);
}

void RandomSource::ReseedFromClock(const Clock& clock)
{
    randomSeed = clock.millisecondsSinceMidnightUtc();
}
