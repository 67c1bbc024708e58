// The HUD: clock text, and the life bar as pixels.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "game/game.h"
#include "scenery_fixture.h"

constexpr uint32_t kSky = 0x0080FF, kBlack = 0, kWhite = 0xFFFFFF;

TEST(ClockText, TwelveHourClockWithTwoDigitMinutes) {
    EXPECT_EQ(clockText(5, 55), "5:55am");
    EXPECT_EQ(clockText(12, 30), "12:30am");   // noon still reads am
    EXPECT_EQ(clockText(0, 0), "0:00am");
    EXPECT_EQ(clockText(13, 5), "1:05pm");
    EXPECT_EQ(clockText(23, 40), "11:40pm");
}

TEST(LifeBar, FullLifeFillsTheFrameOnePixelInNoLifeLeavesItEmptyMinusOneLeavesASliver) {
    const struct { int life; int firstWhite, lastWhite; } cases[] = {{100, 220, 419}, {0, 0, -1}, {-1, 319, 320}};
    for (const auto& t : cases) {
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
