// The whole game in this process, driven pass by pass through its hooks on a test clock.
#include <gtest/gtest.h>

#include <functional>

#include "draw2d/draw.h"
#include "game/game.h"
#include "game/kestrava.h"
#include "platform/input.h"
#include "support/fake_platform.h"

namespace {

void press(int key) { EmitEvent(TEvent{EVENT_KEYDOWN, nullptr, key}); }
int rgb(int r, int g, int b) { return (r << 16) | (g << 8) | b; }

// Runs the game from the values the program starts with; `at` runs before pass F's loop test
// and `check` after the pass, which ends the run by returning false.
int runGame(std::function<void(int)> at, std::function<bool(int)> check, int clockStart = 100000) {
    game.oldtime = game.curtime = game.soundtimer = 0;
    game.sunx = game.suny = 100.0f;
    game.clsr = game.clsg = game.clsb = 0;
    game.curr = game.curg = game.curb = 0.0f;
    game.GAMESTATE = GAMESTATE_TITLE;
    TFakeClock testClock(clockStart);   // 16 ms a pass; events come only from the test
    TGameHooks hooks;
    hooks.audioMode = TAudioOutputMode::Manual;
    hooks.beforePass = [&](int pass) {
        testClock.now = clockStart + 16 * (pass - 1);
        at(pass);
    };
    hooks.afterPass = check;
    return RunKestrava(hooks);
}
}  // namespace

// The first pass steps the music (oldtime starts at 0); later a step comes only once more
// than 16000 ms have gone by; a road point is added every 100th pass.
TEST(FrameLoop, TitleScreenMusicStepsRoadCadenceAndTheSkyFade) {
    runGame(
        [&](int pass) {
            if (pass == 2) game.soundtimer = 16000 - 16, game.curr = 99.995f, game.clsr = 100;
            if (pass == 3) game.soundtimer = 16000 - 15;
        },
        [&](int pass) {
            const int expectedClock[] = {0, 600, 600, 630};
            if (pass <= 3) { EXPECT_EQ(game.hour * 100 + game.minute, expectedClock[pass]) << pass; }
            if (pass == 1) { EXPECT_EQ(rgb(game.clsr, game.clsg, game.clsb), rgb(100, 25, 5)); }
            if (pass == 2) {
                EXPECT_LT(game.curr, 100.0f);         // less than a step below its target: stays short
                EXPECT_FLOAT_EQ(game.curg, 0.2f);     // toward 25 by 0.1 a pass on the title screen
                int r, g, b;
                GetColor(&r, &g, &b);
                EXPECT_EQ(rgb(r, g, b), rgb(99, 0, 0));   // the fade colour, truncated
            }
            if (pass >= 99) { EXPECT_EQ(game.thingcount, pass % 100); }
            return pass < 100;
        });
    int clock = -1;   // about 26 days of uptime, wrapped: the first pass still steps
    runGame([](int) {}, [&](int) { return (clock = game.hour * 100 + game.minute), false; }, -2000000000);
    EXPECT_EQ(clock, 600);
}

TEST(FrameLoop, LifeBelowZeroEndsTheFlightAndEscapeOrAQuitRequestEndsTheLoop) {
    int lastPass = 0;
    const int status = runGame(
        [&](int pass) {
            if (pass == 1) press(KEY_SPACE);   // read in the same pass
            if (pass == 2) game.life = 0, game.curg = 0.0f, game.clsg = 100;
            if (pass == 3) game.life = -1;
            if (pass == 5) press(KEY_ESCAPE), EmitEvent(TEvent{EVENT_APPTERMINATE});
        },
        [&](int pass) {
            if (pass <= 3) { EXPECT_EQ(game.GAMESTATE, pass < 3 ? GAMESTATE_FLYING : GAMESTATE_TITLE) << pass; }
            if (pass == 2) { EXPECT_FLOAT_EQ(game.curg, 0.01f); }   // the slower sky step in flight
            return (lastPass = pass), true;
        });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lastPass, 4);   // Escape ends the loop before the quit request is read
    {
        TFakeClock quiet;
        EXPECT_EQ(AppTerminate(), 1);
    }
    runGame([&](int pass) { if (pass == 2) EmitEvent(TEvent{EVENT_APPTERMINATE}); },
            [&](int pass) { return (lastPass = pass), true; });
    EXPECT_EQ(lastPass, 1);   // a quit request alone ends it too
}
