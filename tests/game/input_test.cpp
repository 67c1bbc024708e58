// The player's keys: Space on the title screen, the flap keys and the altitude in flight.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/input.h"
#include "support/fake_platform.h"

namespace {

class Input : public ::testing::Test {
  protected:
    void SetUp() override {
        EnablePolledInput(), FlushKeys();
        initvars(), game.GAMESTATE = GAMESTATE_FLYING;
    }
    void TearDown() override { FlushKeys(); }
    static void press(int key) { EmitEvent(TEvent{EVENT_KEYDOWN, nullptr, key}); }
    static void release(int key) { EmitEvent(TEvent{EVENT_KEYUP, nullptr, key}); }
    // The altitude change of one flying frame from 1.0.
    static double altitudeChange() {
        game.altitude = 1.0f;
        getInput();
        return game.altitude - 1.0;
    }
    TFakeClock clock{100000};   // no system events: the keys come only from the test
};
}  // namespace

TEST_F(Input, EachKeyCombinationChangesTheAltitudeItsOwnWay) {
    EXPECT_NEAR(altitudeChange(), 0.0001, 1e-7);   // gliding
    press(KEY_Z);
    press(KEY_LEFT);   // Z and Left arrow together are one left flap
    EXPECT_NEAR(altitudeChange(), 0.0001, 1e-7);
    EXPECT_EQ(game.leftcount, 1.0f);
    press(KEY_RIGHT);
    EXPECT_NEAR(altitudeChange(), 0.0001 - 0.001, 1e-7);   // both flapping: climbing
    game.leftcount = 34.0f;
    EXPECT_NEAR(altitudeChange(), 0.0001 + 0.0005, 1e-7);   // left diving from this frame
    game.rightcount = 34.0f;
    EXPECT_NEAR(altitudeChange(), 0.0001 + 0.0005 + 0.0005, 1e-7);
    for (int frame = 0; frame < 100; ++frame) getInput();
    EXPECT_EQ(game.leftcount, 35.0f);   // counts stop at 35
    release(KEY_RIGHT);
    getInput();
    EXPECT_EQ(game.rightcount, 0.0f);   // released: 0 in the same frame

    press(KEY_M);
    game.leftcount = game.rightcount = 0.0f;
    game.altitude = 0.0005f;
    game.fatigue = 84.9f;
    game.Leftwing = game.rightwing = 400.0f;
    getInput();
    EXPECT_EQ(game.altitude, 0.0f);   // clamped, never below 0
    EXPECT_EQ(game.Leftwing + game.rightwing, 2 * 398.0f);   // a double flap below fatigue 85 raises both wings
    game.fatigue = 85.0f;
    EXPECT_NEAR(altitudeChange(), 0.0001 - 0.001, 1e-7);     // at 85 only the altitude still changes
    EXPECT_EQ(game.Leftwing + game.rightwing, 2 * 398.0f);
}

TEST_F(Input, ASpaceHitInFlightStartsTheNextFlightRightAfterGameOver) {
    press(KEY_SPACE);
    release(KEY_SPACE);
    getInput();   // not read in flight
    game.life = -1;
    game.GAMESTATE = GAMESTATE_TITLE;   // the game is over
    press(KEY_Z);
    getInput();
    EXPECT_EQ(game.GAMESTATE, GAMESTATE_FLYING);
    EXPECT_EQ(game.life, 100);
    EXPECT_EQ(game.leftcount, 0.0f);   // flap keys are not read on the title screen
    game.GAMESTATE = GAMESTATE_TITLE;
    getInput();
    EXPECT_EQ(game.GAMESTATE, GAMESTATE_TITLE);   // the hit was used up
}
