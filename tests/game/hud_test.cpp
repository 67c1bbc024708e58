// The HUD: clock text, the life bar and the wind bar as pixels, and the outlined text's state.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "game/game.h"
#include "scenery_fixture.h"

TEST(ClockText, TwelveHourClockWithTwoDigitMinutes) {
    EXPECT_EQ(clockText(5, 55), "5:55am");
    EXPECT_EQ(clockText(12, 30), "12:30am");   // noon still reads am
    EXPECT_EQ(clockText(0, 0), "0:00am");
    EXPECT_EQ(clockText(13, 5), "1:05pm");
    EXPECT_EQ(clockText(23, 40), "11:40pm");
    EXPECT_EQ(clockText(7, 5), "7:05am");
}

static const Rgb kSky{0, 128, 255};
static const Rgb kBlack{0, 0, 0};
static const Rgb kWhite{255, 255, 255};

static void drawScoreWithLife(int life) {
    resetScenery();
    clearScreen(kSky.r, kSky.g, kSky.b);
    game.life = life;
    drawScore();
}

TEST(LifeBar, FullLifeFillsTheFrameOnePixelInsideEachSide) {
    drawScoreWithLife(100);
    EXPECT_EQ(pixelAt(218, 470), kSky);
    EXPECT_EQ(pixelAt(219, 470), kBlack);
    EXPECT_EQ(pixelAt(220, 470), kWhite);
    EXPECT_EQ(pixelAt(320, 470), kWhite);
    EXPECT_EQ(pixelAt(419, 470), kWhite);
    EXPECT_EQ(pixelAt(420, 470), kBlack);
    EXPECT_EQ(pixelAt(421, 470), kSky);
    EXPECT_EQ(pixelAt(320, 465), kBlack);
    EXPECT_EQ(pixelAt(320, 476), kBlack);
}

TEST(LifeBar, NoLifeLeavesTheFrameEmpty) {
    drawScoreWithLife(0);
    for (int x = 219; x <= 420; x++) EXPECT_EQ(pixelAt(x, 470), kBlack) << "x " << x;
}

TEST(LifeBar, LifeMinusOneLeavesATwoPixelSliverLeftOfTheMiddle) {
    drawScoreWithLife(-1);
    EXPECT_EQ(pixelAt(318, 470), kBlack);
    EXPECT_EQ(pixelAt(319, 470), kWhite);
    EXPECT_EQ(pixelAt(320, 470), kWhite);
    EXPECT_EQ(pixelAt(321, 470), kBlack);
}

// Row 18 lies below the clock text, so only the bar and the zero mark are there.
static void drawWindAt(float wind) {
    resetScenery();
    clearScreen(kSky.r, kSky.g, kSky.b);
    game.wind = wind;
    drawWind();
}

static const Rgb kBar{128, 128, 255};

TEST(WindBar, PositiveWindGrowsRightOfTheMark) {
    drawWindAt(0.1f);
    EXPECT_EQ(pixelAt(319, 18), kSky);
    EXPECT_EQ(pixelAt(320, 18), kBlack);
    EXPECT_EQ(pixelAt(321, 18), kBar);
    EXPECT_EQ(pixelAt(349, 18), kBar);
    EXPECT_EQ(pixelAt(350, 18), kSky);
}

TEST(WindBar, NegativeWindGrowsLeftOfTheMark) {
    drawWindAt(-0.2f);
    EXPECT_EQ(pixelAt(259, 18), kSky);
    EXPECT_EQ(pixelAt(260, 18), kBar);
    EXPECT_EQ(pixelAt(319, 18), kBar);
    EXPECT_EQ(pixelAt(320, 18), kBlack);
    EXPECT_EQ(pixelAt(321, 18), kSky);
}

TEST(WindBar, WindUnderAPixelDrawsOnlyTheMark) {
    drawWindAt(0.0033f);
    EXPECT_EQ(pixelAt(319, 18), kSky);
    EXPECT_EQ(pixelAt(320, 18), kBlack);
    EXPECT_EQ(pixelAt(321, 18), kSky);
}

TEST(OutlineText, KeepsTheCallersColourAndLeavesFullAlpha) {
    resetScenery();
    clearScreen(0, 0, 0);
    SetColor(10, 20, 30);
    SetAlpha(0.5f);
    drawOutlineText("Score: 0", 100, 100);
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(b, 30);
    EXPECT_EQ(GetAlpha(), 1.0f);
}
