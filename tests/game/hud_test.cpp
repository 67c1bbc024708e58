// The HUD: clock text.
#include <gtest/gtest.h>

#include "game/game.h"

TEST(ClockText, TwelveHourClockWithTwoDigitMinutes) {
    EXPECT_EQ(clockText(5, 55), "5:55am");
    EXPECT_EQ(clockText(12, 30), "12:30am");   // noon still reads am
    EXPECT_EQ(clockText(0, 0), "0:00am");
    EXPECT_EQ(clockText(13, 5), "1:05pm");
    EXPECT_EQ(clockText(23, 40), "11:40pm");
}
