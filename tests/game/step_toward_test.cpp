// The one "step toward a target" rule behind the bird's smoothed copies, the wind, the sky
// colour and the sky road's course: two tests in turn, the step added in double precision.
#include <gtest/gtest.h>

#include "game/game.h"

TEST(StepToward, OnTheTargetItStaysAndFromWithinAStepItEndsJustBelowNeverOnIt) {
    float on = 100.0f;
    stepToward(on, 100.0f, 0.01);
    EXPECT_EQ(on, 100.0f);

    // From below: raised past the target by the first test, lowered again by the second.
    float below = 99.995f;
    stepToward(below, 100.0f, 0.01);
    EXPECT_LT(below, 100.0f);
    EXPECT_NEAR(below, 99.995f, 1e-4);

    // From above: only the second test applies, so it drops a whole step below the target.
    float above = 100.005f;
    stepToward(above, 100.0f, 0.01);
    EXPECT_NEAR(above, 99.995f, 1e-4);

    // From afar it moves exactly one step (the bird's wings follow at 0.7 per frame).
    float wing = 480.0f;
    stepToward(wing, 439.0f, 0.7);
    EXPECT_EQ(wing, 479.3f);
}

TEST(StepToward, TheStepIsAddedInDoublePrecisionThenRoundedToAFloat) {
    // Near zero a float step rounds differently: -0x1.28f5c2p-4 + 0.01f is exactly -1/16.
    float sky = -0x1.28f5c2p-4f;
    stepToward(sky, 0.0f, 0.01);
    EXPECT_EQ(sky, -0x1.fffffep-5f);
    float wind = -0x1.418936p-8f;
    stepToward(wind, 0.2f, 0.001);
    EXPECT_EQ(wind, -0x1.fffffep-9f);   // a float step gives -0x1.fffffcp-9
}
