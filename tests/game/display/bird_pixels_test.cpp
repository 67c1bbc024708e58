// The bird as OpenGL draws it.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "game/game.h"
#include "scenery_fixture.h"
#include "support/gl_fixture.h"

static int colourNow() {
    int r, g, b;
    GetColor(&r, &g, &b);
    return r * 1000000 + g * 1000 + b;
}

TEST(Bird, AtRestItIsSymmetricWithWingTipsReaching255And385) {
    ASSERT_TRUE(OpenTestGraphics());
    resetScenery();   // cx 320, body and both wings at 439, no counts, no fatigue
    drawBird();
    EXPECT_EQ(ReadPixel(317, 436), 0xE6E6E6u);   // body, beside the white spine
    EXPECT_EQ(ReadPixel(320, 436), 0xFFFFFFu);
    EXPECT_EQ(ReadPixel(255, 462), 0xE6E6E6u);
    EXPECT_EQ(ReadPixel(384, 462), 0xE6E6E6u);
    EXPECT_EQ(ReadPixel(253, 462), 0u);
    EXPECT_EQ(ReadPixel(386, 462), 0u);
    for (int dx = 10; dx <= 60; dx += 10) EXPECT_EQ(ReadPixel(320 - dx, 455), ReadPixel(319 + dx, 455)) << dx;
    EXPECT_EQ(colourNow(), 255255255);
    EXPECT_EQ(GetBlend(), BLEND_ALPHA);
    EXPECT_EQ(GetLineWidth(), 3.0f);
}
