// The music step: the loops chosen, the random draws, and the game clock.
#include <gtest/gtest.h>

#include "assets/embedded.h"
#include "audio/sound.h"
#include "game/game.h"
#include "platform/rng.h"
#include "platform/stream.h"

namespace {
class Music : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        StartStreams();
        StartAudio(TAudioOutputMode::Manual);
        for (int n = 1; n <= 8; ++n) {
            std::string name = "sound" + std::to_string(n) + ".wav";
            IncbinAdd(name, EmbeddedFile(name.c_str()).data, EmbeddedFile(name.c_str()).length);
        }
        loadSounds();
    }
    void SetUp() override {
        ASSERT_TRUE(game.sound1 && game.sound8 && game.sound1 != game.sound8);
        initvars();
        game.GAMESTATE = GAMESTATE_FLYING;
        birdAt(300.0f);
    }
    // The bird still at height y: every drawn value equals its position.
    static void birdAt(float y) {
        game.centery = game.targetcenter = game.Leftwing = game.targetleft = y;
        game.rightwing = game.targetright = y;
    }
    // One picksound from seed 1: its choice, and how many generator steps it took.
    static TSoundPtr pick(int* steps) {
        SeedRnd(1);
        TSoundPtr choice = picksound();
        const int after = RndSeed();
        SeedRnd(1);
        for (*steps = 0; RndSeed() != after && *steps < 50; ++*steps) RndFloat();
        return choice;
    }
};
}  // namespace

TEST_F(Music, InFlightTheBirdsMovesChooseTheLoopAfterThreeTosses) {
    int steps;
    EXPECT_EQ(pick(&steps), game.sound8);   // at rest only the base loop
    EXPECT_EQ(steps, 6);
    const struct {
        float* value;
        float to;
        TSoundPtr* loop;
    } moves[] = {{&game.targetcenter, 299, &game.sound1}, {&game.targetcenter, 301, &game.sound2},
                 {&game.targetright, 299, &game.sound3},  {&game.targetleft, 299, &game.sound4},
                 {&game.targetright, 301, &game.sound5},  {&game.targetleft, 301, &game.sound6}};
    for (const auto& move : moves) {   // each later move overrides the ones before
        *move.value = move.to;
        EXPECT_EQ(pick(&steps), *move.loop);
    }
    birdAt(200.0f);
    EXPECT_EQ(pick(&steps), game.sound8);
    birdAt(199.0f);
    EXPECT_EQ(pick(&steps), game.sound7);
    birdAt(439.0f);   // resting on the floor: no tosses at all
    game.targetcenter = 400.0f;
    EXPECT_EQ(pick(&steps), game.sound8);
    EXPECT_EQ(steps, 0);
}

TEST_F(Music, TheTitleScreenPicksAnyLoopWithOneDraw) {
    game.GAMESTATE = GAMESTATE_TITLE;
    int steps;
    pick(&steps);
    EXPECT_EQ(steps, 2);
    const TSoundPtr loops[] = {game.sound1, game.sound2, game.sound3, game.sound4, game.sound5,
                               game.sound6, game.sound7, game.sound8, game.sound8};
    for (int seed = 1; seed <= 300; ++seed) {
        SeedRnd(seed);
        const int n = Rand(0, 8);
        SeedRnd(seed);
        ASSERT_EQ(picksound(), loops[n]) << "seed " << seed;
    }
}

TEST_F(Music, TheClockStepsFiveMinutesInFlightAndHalfAnHourOnTheTitleScreen) {
    game.clsr = game.clsg = game.clsb = 0;
    game.GAMESTATE = GAMESTATE_TITLE;
    game.soundtimer = 12345;
    musicAndClockStep();   // 5:55 + 30: 85 becomes 0, not 25
    EXPECT_EQ(game.soundtimer, 0);
    EXPECT_EQ(game.hour * 100 + game.minute, 600);
    musicAndClockStep();
    EXPECT_EQ(game.hour * 100 + game.minute, 630);

    game.GAMESTATE = GAMESTATE_FLYING;
    birdAt(439.0f);
    game.minute = 55;
    musicAndClockStep();
    EXPECT_EQ(game.hour * 100 + game.minute, 700);
    EXPECT_EQ(game.clsb, 222);
    musicAndClockStep();
    EXPECT_EQ(game.hour * 100 + game.minute, 705);

    game.clsr = game.clsg = game.clsb = 0;
    game.hour = 23;
    game.minute = 55;
    musicAndClockStep();
    EXPECT_EQ(game.hour * 100 + game.minute, 0);   // midnight has no keyframe: stays dark
    EXPECT_EQ(game.clsr + game.clsg + game.clsb, 0);
}
