#include "systemclock.h"

#include <chrono>

std::uint32_t SystemClock::millisecondsSinceMidnightUtc() const
{
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    // The Unix epoch starts at midnight UTC and ignores leap seconds, so every day is 86,400 s.
    constexpr std::int64_t kDay = 86'400'000;
    return static_cast<std::uint32_t>(((sinceEpoch.count() % kDay) + kDay) % kDay);
}
