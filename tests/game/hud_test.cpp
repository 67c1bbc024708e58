// The HUD: clock text, and the life bar and the wind bar as pixels.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "game/game.h"
#include "scenery_fixture.h"

constexpr uint32_t kSky = 0x0080FF, kBlack = 0, kWhite = 0xFFFFFF, kBar = 0x8080FF;

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

TEST(WindBar, ThreeHundredPixelsPerUnitOfWindEitherSideOfTheZeroMark) {
    // Row 18 lies below the clock text: only the bar and the black zero mark at x 320.
    const struct { float wind; int first, last; } cases[] = {{0.1f, 321, 349}, {-0.2f, 260, 319}, {0.0033f, 0, -1}};
    for (const auto& t : cases) {
        resetScenery(kSky);
        SetLineWidth(1.0f);
        game.wind = t.wind;
        drawWind();
        for (int x = 250; x <= 360; x++) {
            const uint32_t expected = x == 320 ? kBlack : x >= t.first && x <= t.last ? kBar : kSky;
            EXPECT_EQ(ReadPixel(x, 18), expected) << "wind " << t.wind << ", x " << x;
        }
    }
}
