// The sun and moon: random draws, colours and the state left behind.
#include <gtest/gtest.h>

#include <cmath>

#include "draw2d/draw.h"
#include "game/game.h"
#include "platform/rng.h"
#include "scenery_fixture.h"

TEST(SunMoon, DrawsSevenRandsForEachOfElevenOvals) {
    resetScenery();
    SeedRnd(77);
    drawSunMoon();
    EXPECT_EQ(stepsSince(77), 11 * 7 * 2);
}

TEST(SunMoon, DrawsAllItsRandsEvenWhenTheOvalsVanish) {
    resetScenery();
    game.altitude = 0.1f;   // ovals of size 0
    SeedRnd(77);
    drawSunMoon();
    EXPECT_EQ(stepsSince(77), 11 * 7 * 2);
}

TEST(SunMoon, LastOvalIsSkyColourPlusJitterDrawnBlueFirstPlusGlint) {
    resetScenery();
    game.curr = 10.0f;
    game.curg = 40.0f;
    game.curb = 70.0f;
    SeedRnd(5);
    skipSteps(10 * 14);
    const int dx = Rand(-25, 25);
    const int dy = Rand(-25, 25);
    const int jitterBlue = Rand(-10, 10);
    const int jitterGreen = Rand(-10, 10);
    const int jitterRed = Rand(-10, 10);
    const int glint = 100 - static_cast<int>(std::sqrt(double(dx * dx + dy * dy))) / 2;

    SeedRnd(5);
    drawSunMoon();
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 10 + jitterRed + glint);
    EXPECT_EQ(g, 40 + jitterGreen + glint);
    EXPECT_EQ(b, 70 + jitterBlue + glint);
    EXPECT_EQ(GetBlend(), BLEND_ADD);
    EXPECT_FLOAT_EQ(GetAlpha(), 0.2f);
}
