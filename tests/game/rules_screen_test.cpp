// Composing a frame: the sky colour's step toward its target, and the centred title texts.
#include <gtest/gtest.h>

#include "assets/embedded.h"
#include "draw2d/draw.h"
#include "draw2d/image.h"
#include "game/game.h"
#include "platform/stream.h"
#include "support/gl_fixture.h"

namespace {

TImagePtr embeddedImage(const char* name) {
    TEmbeddedFile file = EmbeddedFile(name);
    IncbinAdd(name, file.data, file.length);
    return LoadImage(std::string("incbin::") + name, 3);
}

class Screen : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        static const TImagePtr cloud = embeddedImage("spark.png");
        static const TImagePtr arrow = embeddedImage("arrow.png");
        static const TImagePtr wing = embeddedImage("wing2.png");
        static const TImagePtr island = embeddedImage("island.png");
        ASSERT_TRUE(cloud && arrow && wing && island);
        game.cloudimg = cloud;
        game.arrowimg = arrow;
        game.wingimg = wing;
        game.isleimg = island;
        initvars();
        game.GAMESTATE = GAMESTATE_FLYING;
        game.curr = game.curg = game.curb = 0.0f;
        game.clsr = game.clsg = game.clsb = 0;
    }
};

}  // namespace

TEST_F(Screen, TheSkyStopsJustShortOfItsTarget) {
    game.curr = 99.995f;
    game.clsr = 100;
    for (int frame = 0; frame < 3; ++frame) {
        drawScreen();
        EXPECT_NEAR(game.curr, 99.995f, 1e-4);
        EXPECT_LT(game.curr, 100.0f);
    }
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 99);   // the fade colour is truncated
}

TEST_F(Screen, TheSkyMovesTenTimesFasterOnTheTitleScreen) {
    game.clsr = 100;
    game.curb = 50.0f;
    drawScreen();
    EXPECT_FLOAT_EQ(game.curr, 0.01f);
    EXPECT_FLOAT_EQ(game.curb, 49.99f);

    game.GAMESTATE = GAMESTATE_TITLE;
    game.curr = 0.0f;
    game.curb = 50.0f;
    drawScreen();
    EXPECT_FLOAT_EQ(game.curr, 0.1f);
    EXPECT_FLOAT_EQ(game.curb, 49.9f);
}

TEST_F(Screen, AComponentSettlingOnZeroIsDrawnAsZero) {
    game.curg = 0.005f;
    drawScreen();
    EXPECT_LT(game.curg, 0.0f);   // slightly below its target
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(g, 0);
}

TEST_F(Screen, TheTitleTextsAreCentredAndOnlyOnTheTitleScreen) {
    game.GAMESTATE = GAMESTATE_FLYING;
    drawmenu();
    EXPECT_EQ(CountLitPixels(0, 226, 640, 20), 0);

    game.GAMESTATE = GAMESTATE_TITLE;
    SetColor(255, 255, 255);
    drawmenu();
    std::vector<uint32_t> band = ReadPixels(0, 226, 640, 20);
    int left = 640, right = -1;
    for (int i = 0; i < static_cast<int>(band.size()); ++i) {
        if (band[i] == 0) continue;
        left = std::min(left, i % 640);
        right = std::max(right, i % 640);
    }
    ASSERT_GE(right, 0) << "no title text drawn";
    EXPECT_NEAR(left + right, 640, 18) << left << ".." << right;
}
