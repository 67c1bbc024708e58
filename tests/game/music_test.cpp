// Choosing the music: the loops picked in flight and on the title screen, and the draws.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "assets/embedded.h"
#include "audio/sample.h"
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
            TEmbeddedFile file = EmbeddedFile(name.c_str());
            IncbinAdd(name, file.data, file.length);
        }
        loadSounds();
    }
    void SetUp() override {
        ASSERT_TRUE(game.sound1 && game.sound8);
        initvars();
        game.GAMESTATE = GAMESTATE_FLYING;
        atRest(300.0f);
    }
    // The bird still at height y: every drawn value equals its position.
    static void atRest(float y) {
        game.centery = game.targetcenter = y;
        game.Leftwing = game.targetleft = y;
        game.rightwing = game.targetright = y;
    }
    // Generator steps taken by one picksound from seed 1, and the choice.
    static int stepsOfOnePick(TSoundPtr* choice) {
        SeedRnd(1);
        *choice = picksound();
        const int after = RndSeed();
        SeedRnd(1);
        for (int steps = 0; steps < 50; ++steps) {
            if (RndSeed() == after) return steps;
            RndFloat();
        }
        return -1;
    }
};

// Mixes until every voice started so far has played out (no loop is longer than 20 s).
void drainMixer() {
    std::vector<int16_t> out(2 * 44100);
    for (int second = 0; second < 20; ++second) MixAudioFrames(out.data(), 44100);
}

// The left output level 2000 frames into the mix: past the mixer's start latency of 20 ms,
// before the end of the tone.
int mixedLevel() {
    std::vector<int16_t> out(2 * 2001);
    MixAudioFrames(out.data(), 2001);
    return out[2 * 2000];
}

// A tenth of a second of a constant level, so the mix tells how many copies are playing.
TSoundPtr constantSound() {
    TAudioSamplePtr sample = TAudioSample::Create(4410, 44100, SF_MONO16LE);
    auto* frames = reinterpret_cast<int16_t*>(sample->samples);
    for (int i = 0; i < sample->length; ++i) frames[i] = 1000;
    return LoadSound(sample, 0);
}

}  // namespace

TEST_F(Music, EachFlyingStepStartsTheBaseLoopAndOneLayerPerWinningToss) {
    TSoundPtr tone = constantSound();
    ASSERT_TRUE(tone);
    drainMixer();
    PlaySound(tone);
    const int one = mixedLevel();
    ASSERT_NE(one, 0);
    drainMixer();

    const TSoundPtr real[] = {game.sound1, game.sound2, game.sound3, game.sound4,
                              game.sound5, game.sound6, game.sound7, game.sound8};
    game.sound1 = game.sound2 = game.sound3 = game.sound4 = tone;
    game.sound5 = game.sound6 = game.sound7 = game.sound8 = tone;

    atRest(439.0f);   // resting on the floor: picksound starts nothing itself
    SeedRnd(1);
    picksound();
    EXPECT_EQ(mixedLevel(), 0);
    drainMixer();

    for (int seed = 1; seed <= 8; ++seed) {
        SeedRnd(seed);
        int wins = 0;
        for (int toss = 0; toss < 3; ++toss) wins += Rand(0, 1) != 0;
        atRest(300.0f);
        SeedRnd(seed);
        picksound();
        EXPECT_EQ(mixedLevel(), one * (1 + wins)) << "seed " << seed;
        drainMixer();
    }

    game.sound1 = real[0], game.sound2 = real[1], game.sound3 = real[2], game.sound4 = real[3];
    game.sound5 = real[4], game.sound6 = real[5], game.sound7 = real[6], game.sound8 = real[7];
}

TEST_F(Music, LoadsEightDistinctLoops) {
    std::set<TSound*> loops = {game.sound1.get(), game.sound2.get(), game.sound3.get(),
                               game.sound4.get(), game.sound5.get(), game.sound6.get(),
                               game.sound7.get(), game.sound8.get()};
    loops.erase(nullptr);
    EXPECT_EQ(loops.size(), 8u);
}

TEST_F(Music, RestingOnTheFloorPicksTheBaseLoopWithoutDrawing) {
    atRest(439.0f);
    game.targetcenter = 400.0f;   // even with the body moving
    game.soundtimer = 999;
    TSoundPtr choice;
    EXPECT_EQ(stepsOfOnePick(&choice), 0);
    EXPECT_EQ(choice, game.sound8);
    EXPECT_EQ(game.soundtimer, 0);
}

TEST_F(Music, InFlightThreeCoinsAreTossed) {
    TSoundPtr choice;
    EXPECT_EQ(stepsOfOnePick(&choice), 6);
    EXPECT_EQ(choice, game.sound8);   // at rest only the base loop is ever chosen
}

TEST_F(Music, TheBirdsMovesChooseTheLayers) {
    TSoundPtr choice;
    game.targetcenter = 299.0f;   // sinking
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound1);

    game.targetcenter = 301.0f;   // rising
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound2);

    game.targetright = 299.0f;   // right wing moving down, overrides the body
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound3);

    game.targetleft = 299.0f;   // the left wing overrides the right
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound4);

    game.targetright = 301.0f;   // right wing moving up
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound5);

    game.targetleft = 301.0f;
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound6);
}

TEST_F(Music, OnlyABirdAbove200ChoosesTheHighLoop) {
    TSoundPtr choice;
    atRest(200.0f);
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound8);
    atRest(199.0f);
    game.targetleft = 150.0f;   // a wing moving up does not matter: height wins
    stepsOfOnePick(&choice);
    EXPECT_EQ(choice, game.sound7);
}

TEST_F(Music, TheTitleScreenPicksAnyLoopWithOneDraw) {
    game.GAMESTATE = GAMESTATE_TITLE;
    TSoundPtr choice;
    EXPECT_EQ(stepsOfOnePick(&choice), 2);

    // Rand(0, 8): 0 to 7 pick loops 1 to 8, and 8 picks loop 8 again.
    const TSoundPtr loops[] = {game.sound1, game.sound2, game.sound3, game.sound4, game.sound5,
                               game.sound6, game.sound7, game.sound8, game.sound8};
    for (int seed = 1; seed <= 300; ++seed) {
        SeedRnd(seed);
        const int n = Rand(0, 8);
        SeedRnd(seed);
        ASSERT_EQ(picksound(), loops[n]) << "seed " << seed;
    }
}
