// The player's keys: Space on the title screen, the flap keys and the altitude in flight.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/input.h"
#include "platform/system.h"

namespace {

// No system events and a still clock: the keys come only from the test.
struct QuietSystem : TSystemDriver {
    void PollEvents() override {}
    int MilliSecs() override { return 100000; }
    void Delay(int) override {}
};

class Input : public ::testing::Test {
  protected:
    void SetUp() override {
        SetSystemDriver(&system_);
        EnablePolledInput();
        FlushKeys();
        initvars();
        game.GAMESTATE = GAMESTATE_FLYING;
        game.fatigue = 0.0f;
    }
    void TearDown() override {
        FlushKeys();
        SetSystemDriver(nullptr);
    }
    static void press(int key) { EmitEvent(TEvent{EVENT_KEYDOWN, nullptr, key}); }
    static void release(int key) { EmitEvent(TEvent{EVENT_KEYUP, nullptr, key}); }

    // The altitude change of one flying frame, starting from 1.0.
    static double altitudeChange() {
        game.altitude = 1.0f;
        getInput();
        return game.altitude - 1.0;
    }

    QuietSystem system_;
};

}  // namespace

TEST_F(Input, AltitudeChangesByTheKeysHeld) {
    EXPECT_NEAR(altitudeChange(), 0.0001, 1e-7);   // no key: gliding sinks

    press(KEY_Z);
    EXPECT_NEAR(altitudeChange(), 0.0001, 1e-7);   // one side below 35

    press(KEY_RIGHT);
    EXPECT_NEAR(altitudeChange(), 0.0001 - 0.001, 1e-7);   // both below 35: climbing

    game.leftcount = 34.0f;   // reaches 35 this frame
    EXPECT_NEAR(altitudeChange(), 0.0001 + 0.0005, 1e-7);

    game.rightcount = 34.0f;
    EXPECT_NEAR(altitudeChange(), 0.0001 + 0.0005 + 0.0005, 1e-7);

    release(KEY_RIGHT);
    EXPECT_NEAR(altitudeChange(), 0.0001 + 0.0005, 1e-7);   // one diving, the other up
}

TEST_F(Input, AltitudeNeverGoesBelowZero) {
    press(KEY_LEFT);
    press(KEY_M);
    game.altitude = 0.0005f;
    getInput();
    EXPECT_EQ(game.altitude, 0.0f);
    getInput();
    EXPECT_EQ(game.altitude, 0.0f);
}

TEST_F(Input, HeldFlapsCountToThirtyFiveAndStopAtOnceWhenReleased) {
    press(KEY_Z);
    press(KEY_LEFT);   // both left keys together are one left flap
    getInput();
    EXPECT_EQ(game.leftcount, 1.0f);
    for (int frame = 1; frame < 100; ++frame) getInput();
    EXPECT_EQ(game.leftcount, 35.0f);
    EXPECT_EQ(game.rightcount, 0.0f);
    release(KEY_Z);
    getInput();
    EXPECT_EQ(game.leftcount, 35.0f);   // Left arrow still down
    release(KEY_LEFT);
    getInput();
    EXPECT_EQ(game.leftcount, 0.0f);
}

TEST_F(Input, ADoubleFlapRaisesTheWingsOnlyBelowFatigue85) {
    press(KEY_Z);
    press(KEY_M);
    game.fatigue = 84.9f;
    getInput();
    EXPECT_EQ(game.Leftwing, 478.0f);
    EXPECT_EQ(game.rightwing, 478.0f);

    game.fatigue = 85.0f;
    game.altitude = 1.0f;
    getInput();
    EXPECT_EQ(game.Leftwing, 478.0f);
    EXPECT_EQ(game.rightwing, 478.0f);
    EXPECT_NEAR(game.altitude, 1.0 + 0.0001 - 0.001, 1e-7);   // the altitude still changes
}

TEST_F(Input, FlapKeysDoNothingOnTheTitleScreen) {
    game.GAMESTATE = GAMESTATE_TITLE;
    press(KEY_Z);
    press(KEY_RIGHT);
    getInput();
    EXPECT_EQ(game.leftcount, 0.0f);
    EXPECT_EQ(game.altitude, 1.0f);
    EXPECT_EQ(game.GAMESTATE, GAMESTATE_TITLE);
}

TEST_F(Input, SpaceHitInFlightStartsTheNextFlightRightAfterGameOver) {
    press(KEY_SPACE);
    release(KEY_SPACE);
    getInput();   // not read in flight
    EXPECT_EQ(game.GAMESTATE, GAMESTATE_FLYING);

    game.life = -1;
    game.score = 120;
    game.GAMESTATE = GAMESTATE_TITLE;   // the game is over
    getInput();
    EXPECT_EQ(game.GAMESTATE, GAMESTATE_FLYING);
    EXPECT_EQ(game.life, 100);
    EXPECT_EQ(game.score, 0);

    game.GAMESTATE = GAMESTATE_TITLE;   // the hit was used up
    getInput();
    EXPECT_EQ(game.GAMESTATE, GAMESTATE_TITLE);
}
