// Textured quads: the packed colour word and the float reinterpretation.
#include <gtest/gtest.h>

#include "game/game.h"
#include "scenery_fixture.h"

uint32_t packedColour(int red, int green, int blue, float alpha);   // game/textpoly.cpp

TEST(TextPoly, ColourWordIsAlphaRedGreenBlueWithOutOfRangeValuesClamped) {
    EXPECT_EQ(packedColour(230, 230, 230, 1.0f), 0xFFE6E6E6u);
    EXPECT_EQ(packedColour(255, 0, 0, 0.25f), 0x3FFF0000u);   // 63.75 truncates to 63
    EXPECT_EQ(packedColour(300, -5, 128, 1.5f), 0xFFFF0080u);
    EXPECT_EQ(FloatInt(0x3F800000), 1.0f);
    EXPECT_EQ(FloatInt(0), 0.0f);
}
