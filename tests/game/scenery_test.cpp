// The scenery layers: wrap and respawn edges, the glints, and the drawing state each layer
// leaves. How many random draws each layer takes, and when clouds go, shows in the traced
// flights (runner/flight_test.cpp).
#include <gtest/gtest.h>

#include <cmath>

#include "draw2d/draw.h"
#include "game/game.h"
#include "platform/rng.h"
#include "scenery_fixture.h"

TEST(SunMoon, TheLastOvalsJittersAreDrawnBlueFirstAndItsGlintBrightensThem) {
    ResetScenery();
    game.curr = 10.0f, game.curg = 40.0f, game.curb = 70.0f;
    SeedRnd(5);
    SkipSteps(10 * 14);   // the last of the eleven ovals
    const int dx = Rand(-25, 25), dy = Rand(-25, 25);
    const int blue = Rand(-10, 10), green = Rand(-10, 10), red = Rand(-10, 10);
    const int glint = 100 - int(std::sqrt(dx * dx + dy * dy)) / 2;
    SeedRnd(5);
    drawSunMoon();
    EXPECT_EQ(ColourNow(), (10 + red + glint) << 16 | (40 + green + glint) << 8 | (70 + blue + glint));
}

static cloud& AddTestCloud(float x, float y) {
    cloud& c = ListAddLast(game.cloudList);
    c = {x, y, 1.0f, 6.0f};   // half width 768
    return c;
}

TEST(Clouds, WrapBetweenMinusHalfWidthAndPastTheRightEdge) {
    const struct { float after, expected; } cases[] = {
        {-768.5f, 1408.0f}, {-768.0f, -768.0f}, {1408.5f, -768.0f}, {1408.0f, 1408.0f}};
    for (const auto& t : cases) {
        ResetScenery();
        const int wobble = Rand(-1, 1);
        SeedRnd(1);
        cloud& c = AddTestCloud(t.after - wobble, 0.0f);
        drawClouds();
        EXPECT_EQ(c.x, t.expected) << "x after the wobble " << t.after;
    }
}

TEST(Waves, GlintIs100UnderTheSunAndMinus50ThreeHundredPixelsAway) {
    for (int distance : {0, 300}) {
        ResetScenery();
        game.curr = 100.0f, game.curg = 110.0f, game.curb = 120.0f;
        ListAddLast(game.waveList) = {300.0f, 200.0f, 0.25f};
        const int wobble = Rand(-1, 1), half = Rand(-1, 1) / 2, bob = Rand(-1, 1);
        const int blue = Rand(-10, 10), green = Rand(-10, 10), red = Rand(-10, 10);
        game.sunx = 300.0f + wobble + half + distance;
        game.suny = 200.0f + 0.25f + 0.5f + bob;
        SeedRnd(1);
        drawWaves();
        const int glint = 100 - distance / 2;
        EXPECT_EQ(ColourNow(), (100 + red + glint) << 16 | (110 + green + glint) << 8 | (120 + blue + glint));
        EXPECT_EQ(GetLineWidth(), 1.0f);
    }
}

TEST(Waves, SeenFromTooHighTheyAreNotRemovedSoTheListGrowsUntilTheyShowAgain) {
    ResetScenery();
    game.altitude = 0.1f;   // ovals of size 0
    ListAddLast(game.waveList) = {100.0f, 500.0f, 0.2f};
    SeedRnd(SeedWhere(6 * 2, 1, 5, 1, true));   // and a new wavelet
    drawWaves();
    EXPECT_EQ(game.waveList.Count(), 7);
    game.altitude = 1.0f;
    drawWaves();
    for (const wavelet& w : game.waveList) EXPECT_LE(w.y, 480.0f);
}

TEST(Island, RespawnsAboveTheTopOnlyOncePast480) {
    const struct { float altitude, after, expectedY; } cases[] = {
        {1.0f, 480.0f, 480.0f}, {1.0f, 480.25f, -512.0f}, {0.0f, 481.0f, 0.0f}};
    for (const auto& t : cases) {
        ResetScenery();
        game.altitude = t.altitude;
        game.centery = 436.0f;   // the island moves 0.51 + 0.01 per frame
        game.isley = t.after - 0.52f;
        drawIsland();
        EXPECT_EQ(game.isley, t.expectedY) << "isley after the move " << t.after;
        EXPECT_EQ(game.islex == 320.0f, t.expectedY == 480.0f);
    }
}

// What each layer leaves for the next: its blend mode and opacity, and the clouds' image handle
// at their bottom centre.
TEST(Scenery, EachLayerLeavesItsBlendModeAndOpacity) {
    const struct { int (*draw)(); int blend; float alpha; } layers[] = {
        {drawSunMoon, BLEND_ADD, 0.2f}, {drawClouds, BLEND_ADD, 1.0f}, {drawWaves, BLEND_ADD, 0.2f},
        {drawIsland, BLEND_ALPHA, 1.0f}, {drawSpecks, BLEND_ADD, 1.0f}};
    for (const auto& layer : layers) {
        ResetScenery();
        SetAlpha(0.5f);
        AddTestCloud(0.0f, 0.0f);
        ListAddLast(game.waveList) = {100.0f, 100.0f, 0.2f};
        ListAddLast(game.speckList) = {100.0f, 100.0f, 0.2f};
        layer.draw();
        EXPECT_EQ(GetBlend(), layer.blend);
        EXPECT_FLOAT_EQ(GetAlpha(), layer.alpha);
    }
    EXPECT_EQ(game.cloudimg->handle_x * 1000 + game.cloudimg->handle_y, 128256.0f);
}
