// Choosing the music: the loops picked in flight and on the title screen, and the draws.
#include <gtest/gtest.h>

#include <set>

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

}  // namespace

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
