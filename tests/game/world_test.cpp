// Spawning the points of the sky road.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/rng.h"
#include "scenery_fixture.h"

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
void addThingFrom(int seed, int thingx) {
    initvars();
    game.thingList.Clear();
    game.thingx = thingx;
    SeedRnd(seed);
    addThing();
}
}  // namespace

TEST(World, TheRoadsSidewaysStepIsCorrectedTo50Or590) {
    const struct { int step, from, to; } cases[] = {{100, 600, 590}, {-100, 40, 50}, {0, 0, 0}, {0, 639, 639}};
    for (const auto& c : cases) {
        addThingFrom(seedFor(1, c.step, false), c.from);
        EXPECT_EQ(game.thingx, c.to) << c.from << " stepped by " << c.step;
    }
}

TEST(World, ANewRoadPointDrawsThreeRandsAndOneMorePerWalkStep) {
    const int plain = seedFor(2, 0, false), both = seedFor(1, 7, true);
    addThingFrom(plain, 320);
    EXPECT_EQ(stepsSince(plain), 6);   // three Rands, one of them unused
    addThingFrom(both, 320);
    EXPECT_EQ(stepsSince(both), 10);
    EXPECT_TRUE(game.thingelev == 1.1f || game.thingelev == 0.9f) << game.thingelev;

    game.thingList.Clear();
    game.curthingx = 320.7f;
    addThing();
    const thing& t = *game.thingList.begin();
    EXPECT_EQ(t.x, 320.0f);   // truncated
    EXPECT_EQ(t.y, -100.0f);
    EXPECT_EQ(t.elev, game.curthingelev);
}
