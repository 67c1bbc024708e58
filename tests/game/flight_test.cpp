// The bird's flight at the edges the traced flights never reach (runner/flight_test.cpp pins
// the rest: the walls, fatigue and the wind).
#include <gtest/gtest.h>

#include <utility>

#include "game/game.h"

namespace {
// A flight with the bird still at height y: every drawn value equals its position.
void BirdAt(float y) {
    initvars();
    game.GAMESTATE = GAMESTATE_FLYING;
    game.centery = game.targetcenter = y;
    game.Leftwing = game.rightwing = game.targetleft = game.targetright = y + 5;
}
}  // namespace

TEST(Flight, TheBodyMovesInWholePixelsAndTheCeilingComesBeforeTheStrokes) {
    BirdAt(200.0f);
    game.targetcenter = 200.5f;
    updatebird();
    EXPECT_EQ(game.centery, 201.0f);              // 201.3 truncated
    EXPECT_FLOAT_EQ(game.targetcenter, 200.8f);   // the drawn body: +1 to 201.5, then -0.7

    BirdAt(100.0f);
    game.Leftwing = game.rightwing = 95.0f;
    game.leftcount = game.rightcount = 35.0f;
    updatebird();
    EXPECT_EQ(game.centery, 65.0f);   // 101 - 17.5 -> 83, - 17.5 -> 65
    game.Leftwing = game.rightwing = 50.0f;
    updatebird();
    EXPECT_EQ(game.centery, 64.0f);   // back at 100 before the strokes: 82, then 64
}

// The wind's term is the same sign in both dives: a left dive cancels the frame's drift, a
// right dive doubles it.
TEST(Flight, ADiveToTheLeftCancelsTheWindsDriftAndOneToTheRightDoublesIt) {
    for (const auto& [leftDive, expectedX] : {std::pair{true, 320.0f}, std::pair{false, 321.0f}}) {
        BirdAt(300.0f);   // wings below the body: no strokes
        game.wind = 0.5f;
        game.leftcountt = game.rightcountt = 0.0f;
        (leftDive ? game.leftcount : game.rightcount) = 35.0f;
        updatebird();
        EXPECT_FLOAT_EQ(game.centerx, expectedX) << (leftDive ? "left dive" : "right dive");
    }
}
