// The process-wide generator: its known sequence, seeding and Rand's rounding.
#include <gtest/gtest.h>

#include <map>

#include "platform/rng.h"

TEST(Rng, SeedOneGivesTheKnownSequence) {
    SeedRnd(1);
    EXPECT_EQ(RndSeed(), 1);
    EXPECT_EQ(RndFloat(), 48256.0f / 268435456.0f);
    EXPECT_EQ(RndSeed(), 48271);
    double expected = ((182605794 & 0x1ffffffc) + (1291394886 & 0x1ffffff8) / 134217728.0) / 536870912.0;
    EXPECT_EQ(RndDouble(), expected);
    EXPECT_EQ(RndSeed(), 1291394886);
    RndFloat();
    EXPECT_EQ(RndSeed(), 1914720637);
}

// The sign bit is cleared, and the generator's fixed points 0 and 2^31 - 1 become 4660.
TEST(Rng, SeedClearsTheSignBitAndAvoidsTheFixedPoints) {
    for (auto [seed, state] : {std::pair{0, 4660}, {-1, 4660}, {2147483647, 4660}, {int(0x80000001u), 1}}) {
        SeedRnd(seed);
        EXPECT_EQ(RndSeed(), state) << seed;
    }
}

TEST(Rand, EqualAndSwappedBoundsTakeTwoStepsAndStayInside) {
    SeedRnd(1);
    EXPECT_EQ(Rand(5, 5), 5);
    EXPECT_EQ(RndSeed(), 182605794);
    for (int seed = 1; seed < 2000; ++seed) {
        SeedRnd(seed);
        int a = Rand(1, 10);
        SeedRnd(seed);
        ASSERT_EQ(Rand(10, 1), a);
        ASSERT_TRUE(a >= 1 && a <= 10);
    }
}

// The bound is added before truncating toward zero, so an interval reaching below zero loses
// its low end and gains one above it; -1..1 gives 0 below 2/3 and 1 from 2/3 on.
TEST(Rand, DistributionEdgesFollowTheTruncation) {
    const struct { int min, max, lowest, highest; } cases[] = {
        {0, 1000, 0, 1000}, {-5, -1, -4, 0}, {-150, 150, -149, 150}, {-1, 1, 0, 1}};
    for (const auto& c : cases) {
        SeedRnd(1);
        std::map<int, int> counts;
        for (int i = 0; i < 200000; ++i) ++counts[Rand(c.min, c.max)];
        EXPECT_EQ(counts.begin()->first, c.lowest) << c.min << ".." << c.max;
        EXPECT_EQ(counts.rbegin()->first, c.highest) << c.min << ".." << c.max;
        EXPECT_EQ(int(counts.size()), c.highest - c.lowest + 1) << c.min << ".." << c.max;
        if (c.min == -150) { EXPECT_NEAR(counts[0] / double(counts[1] + counts[-1]), 1.0, 0.2); }   // 0 twice as likely
    }
    for (int seed = 1; seed < 3000; ++seed) {
        SeedRnd(seed);
        double r = RndDouble();
        SeedRnd(seed);
        ASSERT_EQ(Rand(-1, 1), r < 2.0 / 3.0 ? 0 : 1);
    }
}
