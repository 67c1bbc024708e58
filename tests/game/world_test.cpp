// Spawning the world's records and the scroll step.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/rng.h"

namespace {

// Generator steps from state `from` to the current state (-1 if not within 100).
int stepsFrom(int from) {
    const int now = RndSeed();
    SeedRnd(from);
    for (int steps = 0; steps <= 100; ++steps) {
        if (RndSeed() == now) return steps;
        RndFloat();
    }
    SeedRnd(now);
    return -1;
}

// A seed whose first draws are Rand(1, 10) == first and then Rand(lo, hi) == second.
int seedFor(int first, int lo, int hi, int second) {
    for (int seed = 1; seed < 10000000; ++seed) {
        SeedRnd(seed);
        if (Rand(1, 10) == first && Rand(lo, hi) == second) return seed;
    }
    return 0;
}

// A road point from the given generator state, with the road walk values of a new game.
thing addThingFrom(int seed, int thingx) {
    initvars();
    game.thingList.Clear();
    game.thingx = thingx;
    SeedRnd(seed);
    addThing();
    return *game.thingList.begin();
}

}  // namespace

TEST(World, ScrollStepGrowsAsTheBirdClimbs) {
    game.centery = 440.0f;
    EXPECT_EQ(scrollStep(), 0.5);
    game.centery = 439.0f;
    EXPECT_EQ(scrollStep(), 201.0 / 400.0);
    game.centery = 100.0f;
    EXPECT_EQ(scrollStep(), 1.35);
}

TEST(World, TheRoadsSidewaysStepIsCorrectedTo50Or590) {
    const int up100 = seedFor(1, -150, 150, 100);
    const int down100 = seedFor(1, -150, 150, -100);
    const int still = seedFor(1, -150, 150, 0);
    ASSERT_NE(up100, 0);
    ASSERT_NE(down100, 0);
    ASSERT_NE(still, 0);

    addThingFrom(up100, 600);
    EXPECT_EQ(game.thingx, 590);
    addThingFrom(down100, 40);
    EXPECT_EQ(game.thingx, 50);
    addThingFrom(still, 0);
    EXPECT_EQ(game.thingx, 0);
    addThingFrom(still, 639);
    EXPECT_EQ(game.thingx, 639);
    addThingFrom(up100, 300);
    EXPECT_EQ(game.thingx, 400);
}

TEST(World, AddThingDrawsSixStepsPlusOneRandPerWalkStep) {
    // No sideways step (first Rand(1, 10) not 1) and no elevation step.
    int plain = 0;
    for (int seed = 1; seed < 100000 && !plain; ++seed) {
        SeedRnd(seed);
        int side = Rand(1, 10);
        Rand(0, 5);
        int elev = Rand(1, 10);
        if (side != 1 && elev != 5) plain = seed;
    }
    ASSERT_NE(plain, 0);
    addThingFrom(plain, 320);
    EXPECT_EQ(stepsFrom(plain), 6);   // three Rands of two steps each
    EXPECT_EQ(game.thingelev, 1.0f);

    // Both walks taken: two more Rands.
    int both = 0;
    for (int seed = 1; seed < 100000 && !both; ++seed) {
        SeedRnd(seed);
        if (Rand(1, 10) != 1) continue;
        Rand(-150, 150);
        Rand(0, 5);
        if (Rand(1, 10) == 5) both = seed;
    }
    ASSERT_NE(both, 0);
    addThingFrom(both, 320);
    EXPECT_EQ(stepsFrom(both), 10);
    EXPECT_TRUE(game.thingelev == 1.1f || game.thingelev == 0.9f) << game.thingelev;
}

TEST(World, ANewRoadPointStartsAboveTheScreenAtTheTruncatedColumn) {
    initvars();
    game.thingList.Clear();
    game.curthingx = 320.7f;
    game.curthingelev = 1.0f;
    game.thingelev = 1.3f;
    addThing();
    const thing& t = *game.thingList.begin();
    EXPECT_EQ(t.x, 320.0f);
    EXPECT_EQ(t.y, -100.0f);
    EXPECT_EQ(t.speed, 0.01f);
    EXPECT_EQ(t.passed, 0);
    EXPECT_FLOAT_EQ(t.elev, 1.01f);   // the elevation moved 0.01 toward its target first
    EXPECT_EQ(t.elev, game.curthingelev);
}

TEST(World, TheRoadElevationNeverSettlesExactlyOnItsTarget) {
    initvars();
    game.thingList.Clear();
    game.thingelev = 1.0f;
    game.curthingelev = 1.0f;
    addThing();
    EXPECT_EQ(game.thingList.begin()->elev, 1.0f);   // equal: left alone

    game.curthingelev = 0.995f;
    game.thingelev = 1.0f;
    SeedRnd(1);
    addThing();
    EXPECT_NEAR(game.curthingelev, 0.995f, 1e-6);
    EXPECT_NE(game.curthingelev, 1.0f);
}

TEST(World, SpecksAndWaveletsComeInBatchesAtTheTopEdge) {
    game.speckList.Clear();
    game.waveList.Clear();
    SeedRnd(7);
    addSpeck();
    EXPECT_EQ(stepsFrom(7), 6);
    addWave();
    ASSERT_EQ(game.speckList.Count(), 3);
    ASSERT_EQ(game.waveList.Count(), 6);
    for (const speck& s : game.speckList) {
        EXPECT_EQ(s.y, 0.0f);
        EXPECT_EQ(s.speed, 0.2f);
        EXPECT_GE(s.x, -100.0f);
        EXPECT_LE(s.x, 740.0f);
        EXPECT_EQ(s.x, static_cast<int>(s.x));
    }
    for (const wavelet& w : game.waveList) {
        EXPECT_EQ(w.y, 0.0f);
        EXPECT_EQ(w.speed, 0.2f);
    }
}

TEST(World, CloudsHangAboveTheTopEdgeAndStartUpToHalfTheirWidthLeft) {
    TImagePtr puff = TImage::Create(256, 256, 1, 0, 0, 0, 0);
    game.cloudimg = puff;
    game.cloudList.Clear();
    game.cloudcount = 0;
    for (int seed = 1; seed <= 200; ++seed) {
        SeedRnd(seed);
        addCloud();
        ASSERT_EQ(stepsFrom(seed), 4);   // RndFloat, Rand, RndFloat
    }
    EXPECT_EQ(game.cloudcount, 200);
    for (const cloud& c : game.cloudList) {
        EXPECT_GE(c.scale, 5.05f);
        EXPECT_LT(c.scale, 10.05f);
        EXPECT_GE(c.speed, 1.0f);
        EXPECT_LT(c.speed, 3.0f);
        EXPECT_EQ(c.y, 0.0f);
        const int halfWidth = static_cast<int>(256.0 * c.scale) / 2;
        EXPECT_GE(c.x + halfWidth, 0.0f);
        EXPECT_LE(c.x + halfWidth, 639.0f);
    }
    game.cloudList.Clear();
    game.cloudimg.reset();
}

TEST(World, FeathersAreWhiteAndOpaque) {
    game.featherList.Clear();
    addFeather(12, -3);
    const feather& f = *game.featherList.begin();
    EXPECT_EQ(f.x, 12);
    EXPECT_EQ(f.y, -3);
    EXPECT_GE(f.size, 5);
    EXPECT_LE(f.size, 10);
    EXPECT_EQ(f.alpha, 1.0f);
    EXPECT_EQ(f.r + f.g + f.b, 3 * 255);
    game.featherList.Clear();
}
