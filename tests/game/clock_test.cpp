// The music-and-clock step: the game clock, its sky-colour keyframes and the sun's reset.
#include <gtest/gtest.h>

#include "assets/embedded.h"
#include "audio/sound.h"
#include "game/game.h"
#include "platform/rng.h"
#include "platform/stream.h"

namespace {

class Clock : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        StartStreams();
        StartAudio(TAudioOutputMode::Manual);
        for (int n = 1; n <= 8; ++n) {
            std::string name = "sound" + std::to_string(n) + ".wav";
            TEmbeddedFile file = EmbeddedFile(name.c_str());
            IncbinAdd(name, file.data, file.length);
        }
        loadSounds();
    }
    void SetUp() override {
        initvars();
        game.clsr = game.clsg = game.clsb = 0;
        game.sunx = 100.0f;
        game.GAMESTATE = GAMESTATE_TITLE;
    }
};

}  // namespace

TEST_F(Clock, TheFirstTitleStepGoesToDawn) {
    game.soundtimer = 123456;
    musicAndClockStep();
    EXPECT_EQ(game.soundtimer, 0);
    EXPECT_EQ(game.hour, 6);
    EXPECT_EQ(game.minute, 0);   // 85 is over 59 and becomes 0, not 25
    EXPECT_EQ(game.clsr, 100);
    EXPECT_EQ(game.clsg, 25);
    EXPECT_EQ(game.clsb, 5);
    EXPECT_EQ(game.sunx, 0.0f);
}

TEST_F(Clock, TheTitleScreenRunsHalfAnHourPerStep) {
    game.hour = 8;
    game.minute = 0;
    musicAndClockStep();
    EXPECT_EQ(game.hour, 8);
    EXPECT_EQ(game.minute, 30);
    musicAndClockStep();
    EXPECT_EQ(game.hour, 9);
    EXPECT_EQ(game.minute, 0);
    EXPECT_EQ(game.clsr + game.clsg + game.clsb, 0);   // hours 8 and 9 have no keyframe
    EXPECT_EQ(game.sunx, 100.0f);
}

TEST_F(Clock, FlightRunsFiveMinutesPerStep) {
    game.GAMESTATE = GAMESTATE_FLYING;
    game.centery = 439.0f;   // no random draws in flight at rest on the floor
    musicAndClockStep();
    EXPECT_EQ(game.hour, 6);
    EXPECT_EQ(game.minute, 0);
    EXPECT_EQ(game.clsr, 100);
    musicAndClockStep();
    EXPECT_EQ(game.hour, 6);
    EXPECT_EQ(game.minute, 5);
    game.clsr = 1;
    for (int step = 0; step < 11; ++step) musicAndClockStep();
    EXPECT_EQ(game.hour, 7);
    EXPECT_EQ(game.minute, 0);
    EXPECT_EQ(game.clsr, 32);
    EXPECT_EQ(game.clsg, 125);
    EXPECT_EQ(game.clsb, 222);
}

TEST_F(Clock, MidnightWrapsToHourZeroAndKeepsTheNightSky) {
    game.hour = 19;
    game.minute = 55;
    musicAndClockStep();
    EXPECT_EQ(game.hour, 20);
    EXPECT_EQ(game.clsr + game.clsg + game.clsb, 0);
    game.clsb = 7;   // to see that hour 0 leaves the target alone
    game.hour = 23;
    game.minute = 55;
    musicAndClockStep();
    EXPECT_EQ(game.hour, 0);
    EXPECT_EQ(game.minute, 0);
    EXPECT_EQ(game.clsb, 7);
}

TEST_F(Clock, EveryKeyframeHourSetsItsColour) {
    struct Row {
        int hour, r, g, b;
        bool sun;
    };
    const Row rows[] = {{2, 0, 0, 40, false},      {4, 0, 0, 60, false},
                        {6, 100, 25, 5, true},     {7, 32, 125, 222, false},
                        {10, 200, 200, 200, false}, {12, 50, 100, 200, false},
                        {14, 35, 140, 220, false}, {16, 150, 100, 25, false},
                        {17, 128, 128, 128, true}, {18, 64, 64, 64, false},
                        {20, 0, 0, 0, false}};
    for (const Row& row : rows) {
        game.clsr = game.clsg = game.clsb = 9;
        game.sunx = 50.0f;
        game.hour = row.hour - 1;
        game.minute = 55;
        musicAndClockStep();
        EXPECT_EQ(game.clsr, row.r) << row.hour;
        EXPECT_EQ(game.clsg, row.g) << row.hour;
        EXPECT_EQ(game.clsb, row.b) << row.hour;
        EXPECT_EQ(game.sunx, row.sun ? 0.0f : 50.0f) << row.hour;
    }
    for (int hour : {1, 3, 5, 8, 9, 11, 13, 15, 19, 21, 22, 23}) {
        game.clsr = 9;
        game.hour = hour - 1;
        game.minute = 55;
        musicAndClockStep();
        EXPECT_EQ(game.clsr, 9) << hour;
    }
}
