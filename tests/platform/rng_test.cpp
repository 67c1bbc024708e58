// The process-wide generator: its known sequence, seeding and Rand's rounding.
#include <gtest/gtest.h>

#include <map>

#include "platform/rng.h"

TEST(Rng, SeedOneGivesTheKnownSequence) {
    SeedRnd(1);
    EXPECT_EQ(RndSeed(), 1);
    EXPECT_EQ(RndFloat(), 48256.0f / 268435456.0f);
    const int states[] = {48271, 182605794, 1291394886, 1914720637};
    EXPECT_EQ(RndSeed(), states[0]);
    for (int i = 1; i < 4; ++i) {
        RndFloat();
        EXPECT_EQ(RndSeed(), states[i]);
    }
}

TEST(Rng, RndDoubleTakesTwoStepsAndCombinesBothStates) {
    SeedRnd(1);
    double expected = (48268 + 182605792 / 134217728.0) / 536870912.0;
    EXPECT_EQ(RndDouble(), expected);
    EXPECT_EQ(RndSeed(), 182605794);
}

TEST(Rng, SeedClearsTheSignBitAndAvoidsTheFixedPoints) {
    SeedRnd(0);
    EXPECT_EQ(RndSeed(), 4660);
    SeedRnd(-1);
    EXPECT_EQ(RndSeed(), 4660);
    SeedRnd(2147483647);
    EXPECT_EQ(RndSeed(), 4660);
    SeedRnd(static_cast<int>(0x80000001u));
    EXPECT_EQ(RndSeed(), 1);
}

TEST(Rng, StepStaysInRangeFromTheExtremeStates) {
    for (int seed : {1, 2147483646, 44488, 44489, 0x40000000}) {
        SeedRnd(seed);
        for (int i = 0; i < 1000; ++i) {
            float f = RndFloat();
            ASSERT_GE(RndSeed(), 1);
            ASSERT_LE(RndSeed(), 2147483646);
            ASSERT_LT(f, 1.0f);
        }
    }
}

TEST(Rand, EqualBoundsGiveTheBoundAndStillTakeTwoSteps) {
    SeedRnd(1);
    EXPECT_EQ(Rand(5, 5), 5);
    EXPECT_EQ(RndSeed(), 182605794);
}

TEST(Rand, SwappedBoundsGiveTheSameValue) {
    for (int seed = 1; seed < 2000; ++seed) {
        SeedRnd(seed);
        int a = Rand(1, 10);
        SeedRnd(seed);
        ASSERT_EQ(Rand(10, 1), a);
        ASSERT_GE(a, 1);
        ASSERT_LE(a, 10);
    }
}

// Draws n values of Rand(min, max) from seed 1 and counts each result.
static std::map<int, int> Histogram(int min, int max, int n) {
    SeedRnd(1);
    std::map<int, int> counts;
    for (int i = 0; i < n; ++i) ++counts[Rand(min, max)];
    return counts;
}

TEST(Rand, NegativeLowBoundComesOutOnlyForZero) {
    auto counts = Histogram(-1, 1, 30000);
    EXPECT_EQ(counts.count(-1), 0u);
    EXPECT_NEAR(counts[0] / 30000.0, 2.0 / 3.0, 0.02);
    EXPECT_NEAR(counts[1] / 30000.0, 1.0 / 3.0, 0.02);

    // r below 2/3 gives 0, from 2/3 on gives 1.
    for (int seed = 1; seed < 3000; ++seed) {
        SeedRnd(seed);
        double r = RndDouble();
        SeedRnd(seed);
        ASSERT_EQ(Rand(-1, 1), r < 2.0 / 3.0 ? 0 : 1);
    }
}

TEST(Rand, IntervalBelowZeroIsShiftedUpByOne) {
    auto counts = Histogram(-5, -1, 50000);
    EXPECT_EQ(counts.count(-5), 0u);
    for (int v = -4; v <= 0; ++v) EXPECT_NEAR(counts[v] / 50000.0, 0.2, 0.01) << v;
}

TEST(Rand, ZeroIsTwiceAsLikelyAcrossZero) {
    auto counts = Histogram(-150, 150, 200000);
    EXPECT_EQ(counts.count(-150), 0u);
    EXPECT_GT(counts[150], 0);
    EXPECT_NEAR(counts[0] / double(counts[1] + counts[-1]), 1.0, 0.2);
}

TEST(Rand, NonNegativeIntervalIsInclusive) {
    auto counts = Histogram(0, 1000, 200000);
    EXPECT_EQ(counts.begin()->first, 0);
    EXPECT_EQ(counts.rbegin()->first, 1000);
    EXPECT_EQ(counts.size(), 1001u);
}
