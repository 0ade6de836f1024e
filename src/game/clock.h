#pragma once

#include <cstdint>

// The time of day that seeds the random source.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since midnight UTC, 0 to 86,399,999.
    virtual std::uint32_t millisecondsSinceMidnightUtc() const = 0;
};
