// The life bar as the pixels OpenGL draws.
#include <gtest/gtest.h>

#include "game/game.h"
#include "scenery_fixture.h"
#include "support/gl_fixture.h"

constexpr uint32_t kSky = 0x0080FF, kBlack = 0, kWhite = 0xFFFFFF;

TEST(LifeBar, FullLifeFillsTheFrameOnePixelInNoLifeLeavesItEmptyMinusOneLeavesASliver) {
    const struct { int life; int firstWhite, lastWhite; } cases[] = {{100, 220, 419}, {0, 0, -1}, {-1, 319, 320}};
    for (const auto& t : cases) {
        ASSERT_TRUE(OpenTestGraphics());
        resetScenery(kSky);
        game.life = t.life;
        drawScore();
        EXPECT_EQ(ReadPixel(218, 470), kSky);
        EXPECT_EQ(ReadPixel(421, 470), kSky);
        for (int x = 219; x <= 420; x++) {
            const bool white = x >= t.firstWhite && x <= t.lastWhite;
            EXPECT_EQ(ReadPixel(x, 470), white ? kWhite : kBlack) << "life " << t.life << ", x " << x;
        }
    }
}
