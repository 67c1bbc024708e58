// Spawning the points of the sky road.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/rng.h"

namespace {
// The first seed whose draws Rand(1, 10), Rand(-150, 150) give side and step (step ignored
// when side is not 1), then Rand(0, 5), then Rand(1, 10) gives elev (5 or anything else).
int seedFor(int side, int step, bool elevWalk) {
    for (int seed = 1; seed < 10000000; ++seed) {
        SeedRnd(seed);
        const int s = Rand(1, 10);
        if ((s == 1) != (side == 1) || (side == 1 && Rand(-150, 150) != step)) continue;
        Rand(0, 5);
        if ((Rand(1, 10) == 5) == elevWalk) return seed;
    }
    return 0;
}
// Generator steps from state `from` to the current state.
int stepsFrom(int from) {
    const int now = RndSeed();
    SeedRnd(from);
    int steps = 0;
    for (; RndSeed() != now && steps < 100; ++steps) RndFloat();
    return steps;
}
void addThingFrom(int seed, int thingx) {
    initvars();
    game.thingList.Clear();
    game.thingx = thingx;
    SeedRnd(seed);
    addThing();
}
}  // namespace

TEST(World, TheRoadsSidewaysStepIsCorrectedTo50Or590) {
    const int up = seedFor(1, 100, false), down = seedFor(1, -100, false), still = seedFor(1, 0, false);
    addThingFrom(up, 600);
    EXPECT_EQ(game.thingx, 590);
    addThingFrom(down, 40);
    EXPECT_EQ(game.thingx, 50);
    addThingFrom(still, 0);
    EXPECT_EQ(game.thingx, 0);
    addThingFrom(still, 639);
    EXPECT_EQ(game.thingx, 639);
}

TEST(World, ANewRoadPointDrawsThreeRandsAndOneMorePerWalkStep) {
    const int plain = seedFor(2, 0, false), both = seedFor(1, 7, true);
    addThingFrom(plain, 320);
    EXPECT_EQ(stepsFrom(plain), 6);   // three Rands, one of them unused
    addThingFrom(both, 320);
    EXPECT_EQ(stepsFrom(both), 10);
    EXPECT_TRUE(game.thingelev == 1.1f || game.thingelev == 0.9f) << game.thingelev;

    game.thingList.Clear();
    game.curthingx = 320.7f;
    addThing();
    const thing& t = *game.thingList.begin();
    EXPECT_EQ(t.x, 320.0f);   // truncated
    EXPECT_EQ(t.y, -100.0f);
    EXPECT_EQ(t.elev, game.curthingelev);
}
