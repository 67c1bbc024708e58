// The music step: the loops chosen, the random draws, and the game clock.
#include <gtest/gtest.h>

#include "assets/embedded.h"
#include "audio/sound.h"
#include "game/game.h"
#include "platform/rng.h"
#include "platform/stream.h"
#include "scenery_fixture.h"

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
        BirdAt(300.0f);
    }
    // The bird still at height y: every drawn value equals its position.
    static void BirdAt(float y) {
        game.centery = game.targetcenter = game.Leftwing = game.targetleft = game.rightwing = game.targetright = y;
    }
    // One picksound from seed 1: its choice, and how many generator steps it took.
    static TSoundPtr Pick(int* steps) {
        SeedRnd(1);
        TSoundPtr choice = picksound();
        *steps = StepsSince(1);
        return choice;
    }
};
}  // namespace

// In flight three tosses each may start a loop; the bird's moves choose the one returned,
// each later move overriding the ones before.
TEST_F(Music, InFlightTheBirdsMovesChooseTheLoopAfterThreeTosses) {
    int steps;
    EXPECT_EQ(Pick(&steps), game.sound8);   // at rest only the base loop
    EXPECT_EQ(steps, 6);
    const struct { float* value; float to; TSoundPtr* loop; } moves[] = {
        {&game.targetcenter, 299, &game.sound1}, {&game.targetcenter, 301, &game.sound2},
        {&game.targetright, 299, &game.sound3},  {&game.targetleft, 299, &game.sound4},
        {&game.targetright, 301, &game.sound5},  {&game.targetleft, 301, &game.sound6}};
    for (const auto& move : moves) {
        *move.value = move.to;
        EXPECT_EQ(Pick(&steps), *move.loop);
    }
    BirdAt(200.0f);
    EXPECT_EQ(Pick(&steps), game.sound8);
    BirdAt(199.0f);
    EXPECT_EQ(Pick(&steps), game.sound7);
    BirdAt(439.0f);   // resting on the floor: no tosses at all
    game.targetcenter = 400.0f;
    EXPECT_EQ(Pick(&steps), game.sound8);
    EXPECT_EQ(steps, 0);
}

TEST_F(Music, TheTitleScreenPicksAnyLoopWithOneDraw) {
    game.GAMESTATE = GAMESTATE_TITLE;
    const TSoundPtr loops[] = {game.sound1, game.sound2, game.sound3, game.sound4, game.sound5,
                               game.sound6, game.sound7, game.sound8, game.sound8};
    for (int seed = 1; seed <= 300; ++seed) {
        SeedRnd(seed);
        const int n = Rand(0, 8);
        SeedRnd(seed);
        ASSERT_EQ(picksound(), loops[n]) << "seed " << seed;
        ASSERT_EQ(StepsSince(seed), 2);
    }
}

// The clock steps 30 minutes on the title screen and 5 in flight; an hour with a keyframe
// sets the sky's target colour.
TEST_F(Music, TheClockStepsAndKeyframesSetTheSkysTarget) {
    const struct { int state, hourMinute, after, targetBlue; } steps[] = {
        {GAMESTATE_TITLE, 555, 600, -1},    // 85 minutes become 0, not 25
        {GAMESTATE_FLYING, 655, 700, 222},   // (the traced flights pin the plain steps)
        {GAMESTATE_FLYING, 2355, 0, 0}};    // midnight has no keyframe: the target stays
    for (const auto& s : steps) {
        game.clsr = game.clsg = game.clsb = 0;
        game.GAMESTATE = s.state;
        BirdAt(439.0f);
        game.hour = s.hourMinute / 100, game.minute = s.hourMinute % 100;
        game.soundtimer = 12345;
        musicAndClockStep();
        EXPECT_EQ(game.soundtimer, 0);
        EXPECT_EQ(game.hour * 100 + game.minute, s.after) << s.hourMinute;
        if (s.targetBlue >= 0) { EXPECT_EQ(game.clsb, s.targetBlue) << s.hourMinute; }
    }
    EXPECT_EQ(game.clsr + game.clsg, 0);
}
