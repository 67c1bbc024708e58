// The bird's flight model and the wind.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/rng.h"

namespace {
// A flight with the bird still at height y: every drawn value equals its position.
void birdAt(float y) {
    initvars();
    game.GAMESTATE = GAMESTATE_FLYING;
    game.centery = game.targetcenter = y;
    game.Leftwing = game.rightwing = game.targetleft = game.targetright = y + 5;
}
}  // namespace

TEST(Flight, TheBodyMovesInWholePixelsAndTheCeilingComesBeforeTheStrokes) {
    birdAt(200.0f);
    game.targetcenter = 200.5f;
    updatebird();
    EXPECT_EQ(game.centery, 201.0f);              // 201.3 truncated
    EXPECT_FLOAT_EQ(game.targetcenter, 200.8f);   // the drawn body: +1 to 201.5, then -0.7

    birdAt(100.0f);
    game.Leftwing = game.rightwing = 95.0f;
    game.leftcount = game.rightcount = 35.0f;
    updatebird();
    EXPECT_EQ(game.centery, 65.0f);   // 101 - 17.5 -> 83, - 17.5 -> 65
    game.Leftwing = game.rightwing = 50.0f;
    updatebird();
    EXPECT_EQ(game.centery, 64.0f);   // back at 100 before the strokes: 82, then 64
}

TEST(Flight, TheBodyStaysBetweenTheSideWallsWhateverTheWindAndDives) {
    for (float wind : {-1000.0f, -0.5f, 0.49f, 1000.0f})
        for (float count : {0.0f, 20.0f, 35.0f}) {
            birdAt(300.0f);
            game.Leftwing = game.rightwing = 250.0f;   // both wings stroke
            game.wind = wind;
            game.leftcount = game.leftcountt = count;
            game.rightcount = game.rightcountt = 35.0f - count;
            game.centerx = wind < 0 ? 66.0f : 574.0f;
            updatebird();
            EXPECT_GE(game.centerx, 65.0f);
            EXPECT_LE(game.centerx, 575.0f);
        }
}

TEST(Flight, FatigueGainsTheWholeEffortWhenOvertakenAndLosesHalfAFrame) {
    const struct { float fatigue, left, right, after; } cases[] = {
        {10.0f, 5.0f, 7.9f, 21.5f}, {12.0f, 5.0f, 7.0f, 11.5f}, {0.3f, 0.0f, 0.0f, 0.0f}};
    for (const auto& c : cases) {
        birdAt(439.0f);
        game.fatigue = c.fatigue;
        game.leftcount = c.left;
        game.rightcount = c.right;
        updatebird();
        EXPECT_EQ(game.fatigue, c.after) << "fatigue " << c.fatigue;
    }
}

// Each frame draws Rand(0, 1000), and a 50 draws the new target as well.
TEST(Wind, NeverSettlesOnItsTargetAndRetargetsOnA50) {
    initvars();
    game.targetwind = 0.2f;
    game.wind = 0.2f - 0.0005f;
    updatewind();
    EXPECT_NE(game.wind, game.targetwind);
    EXPECT_NEAR(game.wind, 0.2f - 0.0005f, 1e-6);   // up past the target and back down
    int retargets = 0;
    for (int frame = 0; frame < 20000; ++frame) {
        const int before = RndSeed();
        const float oldTarget = game.targetwind;
        updatewind();
        const int after = RndSeed();
        SeedRnd(before);
        const bool retarget = Rand(0, 1000) == 50;
        ASSERT_EQ(game.targetwind, retarget ? RndFloat() - 0.5f : oldTarget) << "frame " << frame;
        ASSERT_EQ(RndSeed(), after) << "frame " << frame;
        retargets += retarget;
    }
    EXPECT_GT(retargets, 5);
}
