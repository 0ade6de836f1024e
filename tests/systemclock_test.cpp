#include "platform/systemclock.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

TEST(SystemClock, readsTheTimeOfDayInUtcWhateverTheLocalZone)
{
    // Thirteen and three quarter hours east of Greenwich: local time would show at once.
    ::setenv("TZ", "XST-13:45", 1);
    ::tzset();
    const std::int64_t before = std::time(nullptr);
    const std::int64_t reading = SystemClock().millisecondsSinceMidnightUtc();
    const std::int64_t after = std::time(nullptr);
    constexpr std::int64_t kDay = 86'400;
    ASSERT_LT(reading, kDay * 1000);
    // time() may run a tick behind the clock the reading comes from.
    const std::int64_t secondsPastBefore = (reading / 1000 - before % kDay + kDay) % kDay;
    EXPECT_LE(secondsPastBefore, after - before + 1);
}
