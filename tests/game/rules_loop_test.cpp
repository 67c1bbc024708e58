// The whole game in this process, driven pass by pass through its hooks on a test clock:
// start-up, the music timer, the road cadence, game over and quitting.
#include <gtest/gtest.h>

#include <SDL.h>

#include <functional>

#include "game/game.h"
#include "game/kestrava.h"
#include "platform/input.h"
#include "platform/system.h"

namespace {

// A clock the test sets; events come only from the test (the window's own are dropped).
struct TestClock : TSystemDriver {
    int now = 100000;
    void PollEvents() override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {}
    }
    int MilliSecs() override { return now; }
    void Delay(int) override {}
};

void press(int key) { EmitEvent(TEvent{EVENT_KEYDOWN, nullptr, key}); }

// Puts back the values the program starts with that initvars leaves alone.
void programStartValues() {
    game.oldtime = game.curtime = game.soundtimer = 0;
    game.sunx = game.suny = 100.0f;
    game.clsr = game.clsg = game.clsb = 0;
    game.curr = game.curg = game.curb = 0.0f;
    game.GAMESTATE = GAMESTATE_TITLE;
}

// Runs the game with these hooks on a clock that starts at 100000 and moves 16 ms a pass.
int runGame(std::function<void(int)> before, std::function<bool(int)> after) {
    static TestClock clock;
    programStartValues();
    clock.now = 100000;
    SetSystemDriver(&clock);
    TGameHooks hooks;
    hooks.audioMode = TAudioOutputMode::Manual;
    hooks.beforePass = [&](int pass) {
        if (pass > 1) clock.now += 16;
        if (before) before(pass);
    };
    hooks.afterPass = after;
    const int status = RunKestrava(hooks);
    SetSystemDriver(nullptr);
    return status;
}

}  // namespace

TEST(FrameLoop, TheFirstPassStartsTheMusicAndTurnsTheClockToDawn) {
    GameGlobals seen;
    const int status = runGame(nullptr, [&](int) {
        seen.hour = game.hour;
        seen.minute = game.minute;
        seen.clsr = game.clsr;
        seen.clsg = game.clsg;
        seen.clsb = game.clsb;
        seen.sunx = game.sunx;
        seen.soundtimer = game.soundtimer;
        seen.oldtime = game.oldtime;
        seen.GAMESTATE = game.GAMESTATE;
        return false;
    });
    ASSERT_EQ(status, 0);
    EXPECT_EQ(seen.hour, 6);
    EXPECT_EQ(seen.minute, 0);
    EXPECT_EQ(seen.clsr, 100);
    EXPECT_EQ(seen.clsg, 25);
    EXPECT_EQ(seen.clsb, 5);
    EXPECT_EQ(seen.sunx, 0.0f);
    EXPECT_EQ(seen.soundtimer, 0);
    EXPECT_EQ(seen.oldtime, 100000);
    EXPECT_EQ(seen.GAMESTATE, GAMESTATE_TITLE);
    EXPECT_TRUE(game.cloudimg && game.arrowimg && game.wingimg && game.isleimg);
    EXPECT_TRUE(game.sound1 && game.sound8);
}

TEST(FrameLoop, OnlyMoreThan16000MillisecondsMakeAMusicStep) {
    int minuteAfterSecond = -1, minuteAfterThird = -1, timerAfterSecond = -1;
    runGame(
        [&](int pass) {
            if (pass == 2) game.soundtimer = 16000 - 16;   // this pass adds 16
            if (pass == 3) game.soundtimer = 16000 - 15;
        },
        [&](int pass) {
            if (pass == 2) {
                minuteAfterSecond = game.minute;
                timerAfterSecond = game.soundtimer;
            }
            if (pass == 3) minuteAfterThird = game.minute;
            return pass < 3;
        });
    EXPECT_EQ(minuteAfterSecond, 0);
    EXPECT_EQ(timerAfterSecond, 16000);
    EXPECT_EQ(minuteAfterThird, 30);
}

TEST(FrameLoop, ARoadPointIsAddedInEveryHundredthPass) {
    int countBefore = -1, countAt100 = -1, thingcount99 = -1, thingcount100 = -1;
    runGame(nullptr, [&](int pass) {
        if (pass == 99) {
            countBefore = game.thingList.Count();
            thingcount99 = game.thingcount;
        }
        if (pass == 100) {
            countAt100 = game.thingList.Count();
            thingcount100 = game.thingcount;
        }
        return pass < 100;
    });
    EXPECT_EQ(thingcount99, 99);
    EXPECT_EQ(thingcount100, 0);
    EXPECT_EQ(countAt100, countBefore + 1);
}

TEST(FrameLoop, TheGameEndsOnlyWhenLifeFallsBelowZero) {
    int stateAfter[4] = {-1, -1, -1, -1};
    runGame(
        [&](int pass) {
            if (pass == 1) press(KEY_SPACE);
            if (pass == 2) game.life = 0;
            if (pass == 3) game.life = -1;
        },
        [&](int pass) {
            stateAfter[pass] = game.GAMESTATE;
            return pass < 3;
        });
    EXPECT_EQ(stateAfter[1], GAMESTATE_FLYING);   // Space starts a flight in the same pass
    EXPECT_EQ(stateAfter[2], GAMESTATE_FLYING);
    EXPECT_EQ(stateAfter[3], GAMESTATE_TITLE);
    EXPECT_EQ(game.life, -1);   // kept until the next flight
}

TEST(FrameLoop, EscapeEndsTheLoopWithoutReadingTheQuitRequest) {
    int lastPass = 0;
    static TestClock clock;
    const int status = runGame(
        [&](int pass) {
            if (pass == 3) {
                press(KEY_ESCAPE);
                EmitEvent(TEvent{EVENT_APPTERMINATE});
            }
        },
        [&](int pass) {
            lastPass = pass;
            return true;
        });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lastPass, 2);
    SetSystemDriver(&clock);
    EXPECT_EQ(AppTerminate(), 1);   // still stored
    SetSystemDriver(nullptr);

    runGame([&](int pass) { if (pass == 2) EmitEvent(TEvent{EVENT_APPTERMINATE}); },
            [&](int pass) {
                lastPass = pass;
                return true;
            });
    EXPECT_EQ(lastPass, 1);   // a quit request alone ends it too
}
