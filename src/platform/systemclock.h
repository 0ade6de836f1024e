#pragma once

#include "game/clock.h"

// The UTC time of day from the system clock.
class SystemClock : public Clock {
public:
    std::uint32_t millisecondsSinceMidnightUtc() const override;
};
