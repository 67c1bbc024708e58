// The bird's flight model and the wind.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/rng.h"

namespace {

// A new flight with the bird resting at the bottom and its drawn copies in place.
void restingBird() {
    initvars();
    game.GAMESTATE = GAMESTATE_FLYING;
    game.centery = game.targetcenter = 439.0f;
    game.Leftwing = game.targetleft = 439.0f;
    game.rightwing = game.targetright = 439.0f;
}

}  // namespace

TEST(Flight, AWholeNumberedBodyWithoutStrokesSinksOnePixel) {
    restingBird();
    game.centery = game.targetcenter = 200.0f;
    game.Leftwing = game.rightwing = game.targetleft = game.targetright = 205.0f;
    updatebird();
    EXPECT_EQ(game.centery, 201.0f);
    for (int frame = 0; frame < 400; ++frame) updatebird();
    EXPECT_EQ(game.centery, 439.0f);   // rests at the floor
}

TEST(Flight, TheCeilingComesBeforeTheStrokes) {
    restingBird();
    game.centery = game.targetcenter = 100.0f;
    game.Leftwing = game.rightwing = game.targetleft = game.targetright = 95.0f;
    game.leftcount = game.rightcount = 35.0f;
    updatebird();
    EXPECT_EQ(game.centery, 65.0f);   // 101 - 17.5 -> 83, - 17.5 -> 65
    // The next call puts it back at 100 before its strokes: 100 - 17.5 -> 82, - 17.5 -> 64.
    game.Leftwing = game.rightwing = 50.0f;
    updatebird();
    EXPECT_EQ(game.centery, 64.0f);
}

TEST(Flight, TheBodyStaysBetweenTheSideWallsWhateverTheWindAndDives) {
    restingBird();
    const float winds[] = {-1000.0f, -0.5f, 0.0f, 0.49f, 1000.0f};
    for (float wind : winds)
        for (float left : {0.0f, 20.0f, 35.0f})
            for (float right : {0.0f, 20.0f, 35.0f}) {
                game.wind = wind;
                game.leftcount = game.leftcountt = left;
                game.rightcount = game.rightcountt = right;
                game.Leftwing = game.rightwing = 300.0f;   // strokes too
                game.centerx = wind < 0 ? 66.0f : 574.0f;
                updatebird();
                EXPECT_GE(game.centerx, 65.0f);
                EXPECT_LE(game.centerx, 575.0f);
            }
}

TEST(Flight, DivesSlideSidewaysWithTheUnmirroredWindTerm) {
    restingBird();
    game.wind = 0.25f;
    game.leftcount = 35.0f;
    game.leftcountt = 25.0f;
    updatebird();
    // The drift is cancelled by the left dive: only leftcountt / 50 is left.
    EXPECT_FLOAT_EQ(game.centerx, 320.0f - 0.5f);

    restingBird();
    game.wind = 0.25f;
    game.rightcount = 35.0f;
    game.rightcountt = 25.0f;
    updatebird();
    EXPECT_FLOAT_EQ(game.centerx, 320.0f + 0.5f + 2 * 0.25f);

    restingBird();
    game.wind = 0.25f;
    game.leftcount = game.rightcount = 35.0f;
    game.leftcountt = game.rightcountt = 25.0f;
    updatebird();
    EXPECT_FLOAT_EQ(game.centerx, 320.25f);   // the two dives cancel, the drift stays
}

TEST(Flight, FatigueIsAddedWhenTheEffortOvertakesIt) {
    restingBird();
    game.fatigue = 10.0f;
    game.leftcount = 5.0f;
    game.rightcount = 7.9f;   // effort 12 (12.9 truncated)
    updatebird();
    EXPECT_EQ(game.fatigue, 21.5f);

    restingBird();
    game.fatigue = 12.0f;
    game.leftcount = 5.0f;
    game.rightcount = 7.0f;
    updatebird();
    EXPECT_EQ(game.fatigue, 11.5f);

    restingBird();
    game.fatigue = 0.3f;
    updatebird();
    EXPECT_EQ(game.fatigue, 0.0f);   // never below 0
}

TEST(Flight, TheDrawnBodyEndsJustShortOfTheBody) {
    restingBird();
    game.centery = 200.0f;   // becomes 201
    game.targetcenter = 200.5f;
    game.Leftwing = game.rightwing = game.targetleft = game.targetright = 205.0f;
    updatebird();
    ASSERT_EQ(game.centery, 201.0f);
    EXPECT_FLOAT_EQ(game.targetcenter, 200.8f);   // +1 to 201.5, then -0.7
}

TEST(Flight, ANewFlightDropsTheBodyAndWingsToTheFloorAtOnce) {
    initvars();
    updatebird();
    EXPECT_EQ(game.centery, 439.0f);
    EXPECT_EQ(game.Leftwing, 439.0f);
    EXPECT_EQ(game.rightwing, 439.0f);
    EXPECT_FLOAT_EQ(game.targetcenter, 479.3f);   // the drawn bird glides down
}

TEST(Flight, WingsAreHeldWithinTenOfTheDrawnBody) {
    restingBird();
    game.targetcenter = 300.0f;
    game.centery = 300.0f;
    game.targetleft = 280.0f;    // more than 10 above
    game.targetright = 320.0f;   // more than 10 below
    game.Leftwing = 280.0f;
    game.rightwing = 320.0f;
    updatebird();
    EXPECT_FLOAT_EQ(game.Leftwing, game.targetcenter - 10.0f);
    EXPECT_FLOAT_EQ(game.rightwing, game.targetcenter + 10.0f);
}

TEST(Wind, StaysPutOnItsTargetAndNeverSettlesFromJustBelow) {
    SeedRnd(1);
    game.wind = game.targetwind = 0.2f;
    updatewind();
    ASSERT_EQ(game.targetwind, 0.2f) << "no retarget expected in the first frame";
    EXPECT_EQ(game.wind, 0.2f);

    game.targetwind = 0.2f;
    game.wind = 0.2f - 0.0005f;
    const float start = game.wind;
    updatewind();
    ASSERT_EQ(game.targetwind, 0.2f);
    EXPECT_NE(game.wind, game.targetwind);
    EXPECT_NEAR(game.wind, start, 1e-6);
}

TEST(Wind, DrawsOneRandEveryFrameAndRetargetsOnFifty) {
    initvars();
    int retargets = 0;
    for (int frame = 0; frame < 20000; ++frame) {
        const int before = RndSeed();
        const float oldTarget = game.targetwind;
        updatewind();
        const int after = RndSeed();
        SeedRnd(before);
        const int draw = Rand(0, 1000);
        if (draw == 50) {
            const float target = RndFloat() - 0.5f;
            ASSERT_EQ(RndSeed(), after);
            ASSERT_EQ(game.targetwind, target);
            ASSERT_GE(target, -0.5f);
            ASSERT_LT(target, 0.5f);
            ++retargets;
        } else {
            ASSERT_EQ(RndSeed(), after) << "one Rand per frame, frame " << frame;
            ASSERT_EQ(game.targetwind, oldTarget);
        }
        ASSERT_LE(game.wind, 0.5f + 0.001f);
        ASSERT_GE(game.wind, -0.5f - 0.001f);
    }
    EXPECT_GT(retargets, 5);
}
