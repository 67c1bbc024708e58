// Clouds: the horizontal wrap, the fall and removal, the spawn draw and the state left behind.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "game/game.h"
#include "platform/rng.h"
#include "scenery_fixture.h"

// The wobble the next cloud will get, read without using it up.
static int nextWobble() {
    const int seed = RndSeed();
    const int wobble = Rand(-1, 1);
    SeedRnd(seed);
    return wobble;
}

static cloud& addTestCloud(float x, float y, float scale) {
    cloud& c = ListAddLast(game.cloudList);
    c.x = x;
    c.y = y;
    c.speed = 1.0f;
    c.scale = scale;
    return c;
}

TEST(Clouds, WrapBetweenMinusHalfWidthAndBeyondTheRightEdge) {
    // Scale 6 gives a half width of 768.
    const struct { float after, expected; } cases[] = {
        {-768.5f, 1408.0f}, {-768.0f, -768.0f}, {1408.5f, -768.0f}, {1408.0f, 1408.0f}};
    for (const auto& t : cases) {
        resetScenery();
        SeedRnd(3);
        cloud& c = addTestCloud(t.after - nextWobble(), 0.0f, 6.0f);
        drawClouds();
        EXPECT_EQ(c.x, t.expected) << "x after wobble " << t.after;
    }
}

TEST(Clouds, FallAtTheirSpeedPlusTheScrollStep) {
    resetScenery();
    cloud& c = addTestCloud(100.0f, 10.0f, 6.0f);
    drawClouds();
    EXPECT_EQ(c.y, 11.5f);   // speed 1, scroll step 0.5 with centery 440
}

TEST(Clouds, RemovedOnceTheTopEdgeIsMoreThan1000BelowWhateverTheAltitude) {
    // Scale 6: the limit is y 1000 + 256 * 6 = 2536, reached after a fall of 1.5.
    for (float altitude : {0.0f, 0.3f, 1.0f, 2.5f}) {
        resetScenery();
        game.altitude = altitude;
        addTestCloud(0.0f, 2536.0f - 1.5f, 6.0f);
        addTestCloud(0.0f, 2536.25f - 1.5f, 6.0f);
        addTestCloud(0.0f, 0.0f, 6.0f);
        SeedRnd(seedWhere(3 * 2, 1, 20, 10, false));
        drawClouds();
        EXPECT_EQ(game.cloudList.Count(), 2) << "altitude " << altitude;
        EXPECT_EQ(game.cloudcount, -1);
        float ys[2];
        int i = 0;
        for (cloud& c : game.cloudList) ys[i++] = c.y;
        EXPECT_EQ(ys[0], 2536.0f);   // exactly at the limit stays
        EXPECT_EQ(ys[1], 1.5f);
    }
}

TEST(Clouds, OneWobblePerCloudThenTheSpawnDraw) {
    resetScenery();
    for (int i = 0; i < 3; i++) addTestCloud(0.0f, 0.0f, 6.0f);
    // Find a seed on which the spawn draw does not spawn, and one on which it does.
    for (bool wantSpawn : {false, true}) {
        const int seed = seedWhere(3 * 2, 1, 20, 10, wantSpawn);
        const int before = game.cloudList.Count();
        SeedRnd(seed);
        drawClouds();
        // addCloud draws RndFloat, Rand, RndFloat.
        EXPECT_EQ(stepsSince(seed), before * 2 + 2 + (wantSpawn ? 4 : 0));
        EXPECT_EQ(game.cloudList.Count(), before + (wantSpawn ? 1 : 0));
    }
}

TEST(Clouds, LeaveAdditiveBlendFullAlphaUnitScaleAndTheBottomCentreHandle) {
    resetScenery();
    addTestCloud(100.0f, 100.0f, 7.0f);
    game.altitude = 0.8f;
    drawClouds();
    EXPECT_EQ(GetBlend(), BLEND_ADD);
    EXPECT_EQ(GetAlpha(), 1.0f);
    float sx, sy;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
    EXPECT_EQ(game.cloudimg->handle_x, 128.0f);
    EXPECT_EQ(game.cloudimg->handle_y, 256.0f);
}
