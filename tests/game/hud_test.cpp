// The words the HUD and the textured quads draw with: the clock's text and the packed colour.
#include <gtest/gtest.h>

#include "game/game.h"

uint32_t packedColour(int red, int green, int blue, float alpha);   // game/textpoly.cpp

TEST(ClockText, TwelveHourClockWithTwoDigitMinutes) {
    EXPECT_EQ(clockText(5, 55), "5:55am");
    EXPECT_EQ(clockText(12, 30), "12:30am");   // noon still reads am
    EXPECT_EQ(clockText(0, 0), "0:00am");
    EXPECT_EQ(clockText(13, 5), "1:05pm");
    EXPECT_EQ(clockText(23, 40), "11:40pm");
}

TEST(TextPoly, ColourWordIsAlphaRedGreenBlueWithOutOfRangeValuesClamped) {
    EXPECT_EQ(packedColour(230, 230, 230, 1.0f), 0xFFE6E6E6u);
    EXPECT_EQ(packedColour(255, 0, 0, 0.25f), 0x3FFF0000u);   // 63.75 truncates to 63
    EXPECT_EQ(packedColour(300, -5, 128, 1.5f), 0xFFFF0080u);
    EXPECT_EQ(FloatInt(0x3F800000), 1.0f);
    EXPECT_EQ(FloatInt(0), 0.0f);
}
