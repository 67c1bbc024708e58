// The sea, the island and the specks: skips, glints, respawns, random draws and state.
#include <gtest/gtest.h>

#include <cmath>

#include "draw2d/draw.h"
#include "game/game.h"
#include "platform/rng.h"
#include "scenery_fixture.h"

static wavelet& addTestWavelet(float x, float y) {
    wavelet& w = ListAddLast(game.waveList);
    w.x = x;
    w.y = y;
    w.speed = 0.2f;
    return w;
}

// The colour a lone wavelet gets when the sun sits `distance` pixels to its right.
static void expectWaveletColourWithSunAt(double distance, int glint) {
    resetScenery();
    game.curr = 100.0f;
    game.curg = 110.0f;
    game.curb = 120.0f;
    addTestWavelet(300.0f, 200.0f);
    SeedRnd(9);
    const int wobble = Rand(-1, 1);
    Rand(-1, 1);
    const int bob = Rand(-1, 1);
    const int jitterBlue = Rand(-10, 10);
    const int jitterGreen = Rand(-10, 10);
    const int jitterRed = Rand(-10, 10);
    game.sunx = 300.0f + wobble + distance;
    game.suny = 200.0f + 0.2f + 0.5f + bob;

    SeedRnd(9);
    drawWaves();
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 100 + jitterRed + glint) << "distance " << distance;
    EXPECT_EQ(g, 110 + jitterGreen + glint);
    EXPECT_EQ(b, 120 + jitterBlue + glint);
}

TEST(Waves, GlintIs100UnderTheSunAndMinus50ThreeHundredPixelsAway) {
    expectWaveletColourWithSunAt(0.0, 100);
    expectWaveletColourWithSunAt(300.0, -50);
}

TEST(Waves, TooHighToSeeThemTheyAreNeitherDrawnNorRemovedAndTheListGrows) {
    resetScenery();
    game.altitude = 0.1f;   // ovals of size 0
    addTestWavelet(100.0f, 500.0f);
    int frames = 0;
    while (game.waveList.Count() == 1 && frames < 100) {
        drawWaves();
        frames++;
    }
    EXPECT_EQ(game.waveList.Count(), 7);   // the old one stayed and six were added
    EXPECT_GT(game.waveList.begin()->y, 480.0f);

    game.altitude = 1.0f;
    drawWaves();
    // The one below the edge is gone at once; six more may have been spawned.
    const int count = game.waveList.Count();
    EXPECT_TRUE(count == 6 || count == 12) << count;
    for (const wavelet& w : game.waveList) EXPECT_LE(w.y, 480.0f);
}

TEST(Waves, DrawsFiveRandsPerHiddenWaveletThenTheSpawnDraw) {
    resetScenery();
    game.altitude = 0.1f;
    addTestWavelet(100.0f, 100.0f);
    addTestWavelet(200.0f, 100.0f);
    const int seed = seedWhere(2 * 6 * 2, 1, 5, 1, false);
    SeedRnd(seed);
    drawWaves();
    EXPECT_EQ(stepsSince(seed), (2 * 6 + 1) * 2);
}

TEST(Waves, LeaveAlphaPointTwoAndThinLines) {
    resetScenery();
    SetLineWidth(3.0f);
    addTestWavelet(100.0f, 100.0f);
    drawWaves();
    EXPECT_EQ(GetBlend(), BLEND_ADD);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.2f);
    EXPECT_EQ(GetLineWidth(), 1.0f);
}

// An isley that the island's move (scroll step + 0.01) takes exactly to 480.
static float isleyReachingExactly480() {
    float y = static_cast<float>(480.0 - (scrollStep() + 0.01));
    while (static_cast<float>(y + (scrollStep() + 0.01)) < 480.0f) y = std::nextafter(y, 1000.0f);
    while (static_cast<float>(y + (scrollStep() + 0.01)) > 480.0f) y = std::nextafter(y, 0.0f);
    return y;
}

TEST(Island, ExactlyAt480ItStays) {
    resetScenery();
    game.isley = isleyReachingExactly480();
    drawIsland();
    EXPECT_EQ(game.isley, 480.0f);
    EXPECT_EQ(game.islex, 320.0f);
}

TEST(Island, JustPast480ItComesBackAboveTheTopAtARandomColumn) {
    resetScenery();
    game.isley = std::nextafter(isleyReachingExactly480(), 1000.0f);
    SeedRnd(4);
    const int column = Rand(0, 400);
    SeedRnd(4);
    drawIsland();
    EXPECT_EQ(game.isley, -512.0f);
    EXPECT_EQ(game.islex, static_cast<float>(column));

    resetScenery();
    game.altitude = 0.0f;
    game.isley = 481.0f;
    drawIsland();
    EXPECT_EQ(game.isley, 0.0f);
}

TEST(Island, MovesAgainstTheWindAndLeavesAlphaBlendAtUnitScale) {
    resetScenery();
    game.wind = 0.5f;
    game.altitude = 0.25f;
    drawIsland();
    EXPECT_EQ(game.islex, 319.5f);
    EXPECT_EQ(game.isley, 0.51f);
    EXPECT_EQ(GetBlend(), BLEND_ALPHA);
    EXPECT_EQ(GetAlpha(), 1.0f);
    float sx, sy;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
}

static speck& addTestSpeck(float x, float y, float speed = 0.2f) {
    speck& p = ListAddLast(game.speckList);
    p.x = x;
    p.y = y;
    p.speed = speed;
    return p;
}

TEST(Specks, ThreeRandsAndAnOpacityEachThenTheSpawnDraw) {
    resetScenery();
    addTestSpeck(100.0f, 100.0f);
    addTestSpeck(200.0f, 100.0f);
    for (bool spawn : {false, true}) {
        const int seed = seedWhere(2 * 7, 1, 10, 10, spawn);
        SeedRnd(seed);
        const int before = game.speckList.Count();
        drawSpecks();
        EXPECT_EQ(stepsSince(seed), 2 * 7 + 2 + (spawn ? 3 * 2 : 0));
        EXPECT_EQ(game.speckList.Count(), before + (spawn ? 3 : 0));
    }
    EXPECT_EQ(GetBlend(), BLEND_ADD);
    EXPECT_EQ(GetAlpha(), 1.0f);
}

TEST(Specks, RemovedOnlyOncePast480) {
    // After the move the first is at exactly 480 and the second just past it.
    resetScenery();
    const int seed = seedWhere(2 * 7, 1, 10, 10, false);
    SeedRnd(seed);
    int bob[2];
    for (int& b : bob) {
        Rand(-1, 1);
        Rand(-1, 1);
        b = Rand(-1, 1);
        RndFloat();
    }
    // A speed of 0.25 keeps every sum exact.
    addTestSpeck(100.0f, 480.0f - 0.25f - 0.5f - bob[0], 0.25f);
    addTestSpeck(100.0f, 480.25f - 0.25f - 0.5f - bob[1], 0.25f);
    SeedRnd(seed);
    drawSpecks();
    ASSERT_EQ(game.speckList.Count(), 1);
    EXPECT_EQ(game.speckList.begin()->y, 480.0f);
}

TEST(Feathers, NoneMeansNothingDrawnAndNoStateChanged) {
    resetScenery();
    SetAlpha(0.4f);
    SeedRnd(2);
    drawFeathers();
    EXPECT_EQ(RndSeed(), 2);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.4f);
}
