// The bird: its symmetric pose at rest as pixels, and the drawing state it leaves.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "game/game.h"
#include "scenery_fixture.h"

static const Rgb kBody{230, 230, 230};
static const Rgb kBackground{0, 0, 0};

TEST(Bird, AtRestItIsSymmetricWithWingTipsReaching255And385) {
    resetScenery();   // cx 320, body and both wings at 439, no counts, no fatigue
    clearScreen(0, 0, 0);
    drawBird();
    EXPECT_EQ(pixelAt(317, 436), kBody);         // body, left of the spine
    EXPECT_EQ(pixelAt(320, 436), (Rgb{255, 255, 255}));   // spine
    EXPECT_EQ(pixelAt(255, 462), kBody);         // left wing tip
    EXPECT_EQ(pixelAt(384, 462), kBody);         // right wing tip
    EXPECT_EQ(pixelAt(253, 462), kBackground);
    EXPECT_EQ(pixelAt(386, 462), kBackground);
    for (int dx = 10; dx <= 60; dx += 10) {
        EXPECT_EQ(pixelAt(320 - dx, 455), pixelAt(319 + dx, 455)) << "dx " << dx;
    }
}

TEST(Bird, LeavesWhiteAlphaBlendFullAlphaAndThickLines) {
    resetScenery();
    clearScreen(0, 0, 0);
    SetBlend(BLEND_ADD);
    SetAlpha(0.2f);
    drawBird();
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 255);
    EXPECT_EQ(GetBlend(), BLEND_ALPHA);
    EXPECT_EQ(GetAlpha(), 1.0f);
    EXPECT_EQ(GetLineWidth(), 3.0f);
}

TEST(Bird, FlapStatsOnlySetTheSkysComplementaryColour) {
    resetScenery();
    game.curr = 10.5f;
    game.curg = 0.0f;
    game.curb = 300.0f;
    drawFlapStats();
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 244);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, -45);
}
