// The player's keys: Space on the title screen, the flap keys and the altitude in flight; the
// pause and sound keys.
#include <gtest/gtest.h>

#include <vector>

#include "audio/mixora.h"
#include "game/game.h"
#include "game/player_keys.h"
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

// Each press of a pause key toggles the pause, whose turns run no pass, until a pause key,
// Escape or a quit request ends it; the sound keys step the output volume and never the game.
TEST_F(Input, PauseKeysHoldTheGameAndSoundKeysStepTheOutputVolume) {
    std::vector<bool> told;
    mxo_SetMasterVolume(55);
    StartPlayerKeys(false, [&](bool paused) { told.push_back(paused); });
    const float altitude = game.altitude;
    for (int key : {KEY_F9, KEY_F9}) press(key), release(key);
    EXPECT_EQ(mxo_MasterVolume(), 35);
    press(KEY_F8), release(KEY_F8);
    EXPECT_EQ(mxo_MasterVolume(), 0);
    for (int i = 0; i < 8; ++i) press(KEY_F10), release(KEY_F10);   // louder unmutes, up to 100
    EXPECT_EQ(mxo_MasterVolume(), 100);
    EXPECT_FALSE(PausedTurn());
    EmitEvent(TEvent{EVENT_APPSUSPEND});   // the window going away pauses only when asked
    EXPECT_FALSE(PausedTurn());
    press(KEY_P);
    EXPECT_TRUE(PausedTurn());
    EXPECT_TRUE(PausedTurn());
    press(KEY_PAUSE);
    EXPECT_FALSE(PausedTurn());
    release(KEY_P), press(KEY_P);
    EXPECT_TRUE(PausedTurn());
    press(KEY_ESCAPE);   // the loop test that follows ends the game
    EXPECT_FALSE(PausedTurn());
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
    StopPlayerKeys();
    StartPlayerKeys(true, nullptr);
    EmitEvent(TEvent{EVENT_APPHIDDEN});
    EXPECT_TRUE(PausedTurn());
    StopPlayerKeys();
    EXPECT_EQ(game.altitude, altitude);
    mxo_SetMasterVolume(100);
}
