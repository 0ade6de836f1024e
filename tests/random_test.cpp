#include "game/randomsource.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

TEST(RandomSource, firstDrawFromSeedZeroIsZeroAndLeavesSeedOne)
{
    RandomSource random;
    EXPECT_EQ(random.RandomBelow(73), 0);
    EXPECT_EQ(random.randomSeed, 1u);
}

TEST(RandomSource, drawBelowOneIsZeroButStillAdvancesSeed)
{
    RandomSource random;
    random.randomSeed = 12345;
    EXPECT_EQ(random.RandomBelow(1), 0);
    EXPECT_EQ(random.randomSeed, 12345u * 134775813u + 1u);
    EXPECT_EQ(random.RandomBelow(0), 0);
}

TEST(RandomSource, workedExampleDrawsFromClockSeed)
{
    RandomSource random;
    random.ReseedFromClock(FixedClock(45296789)); // 12:34:56.789 UTC
    EXPECT_EQ(random.randomSeed, 45296789u);
    EXPECT_EQ(random.RandomBelow(73), 35);
    EXPECT_EQ(random.RandomBelow(4), 1);
    EXPECT_EQ(random.RandomBelow(3), 1);
    EXPECT_EQ(random.RandomBelow(2), 0);
    EXPECT_EQ(random.RandomBelow(1), 0);
    EXPECT_EQ(random.randomSeed, 2998748646u);
    EXPECT_EQ(random.RandomBelow(72), 32);
}

TEST(RandomSource, drawsStayBelowTheirBound)
{
    RandomSource random;
    random.randomSeed = 0xDEADBEEF;
    for (int n = 1; n < 2000; ++n) {
        const int r = random.RandomBelow(n);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, n);
    }
}
