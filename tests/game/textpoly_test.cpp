// Textured quads: the packed colour word, the float reinterpretation and the corner order.
#include <gtest/gtest.h>

#include <cstdint>

#include "draw2d/draw.h"
#include "game/game.h"
#include "scenery_fixture.h"

uint32_t packedColour(int red, int green, int blue, float alpha);   // game/textpoly.cpp

TEST(TextPoly, ColourWordPacksAlphaThenRedGreenBlue) {
    EXPECT_EQ(packedColour(230, 230, 230, 1.0f), 0xFFE6E6E6u);
    EXPECT_EQ(packedColour(255, 0, 0, 0.25f), 0x3FFF0000u);   // 63.75 truncates to 63
    EXPECT_EQ(packedColour(0, 0, 0, 0.0f), 0x00000000u);
}

TEST(TextPoly, ColourWordKeepsOutOfRangeValuesInTheirOwnByte) {
    EXPECT_EQ(packedColour(300, -5, 128, 1.5f), 0xFFFF0080u);
    EXPECT_EQ(packedColour(1, 2, 3, -0.5f), 0x00010203u);
}

TEST(TextPoly, FloatIntReinterpretsTheBits) {
    EXPECT_EQ(FloatInt(0x3F800000), 1.0f);
    EXPECT_EQ(FloatInt(0), 0.0f);
    EXPECT_EQ(FloatInt(static_cast<int>(0xC0000000u)), -2.0f);
}

// A 2 by 2 image: red top-left, green top-right, blue bottom-left, white bottom-right.
static TImagePtr cornerImage() {
    TImagePtr image = solidImage(2, 2, 0xFFFFFFFF);
    TPixmapPtr pixmap = image->Lock(0, false, true);
    pixmap->WritePixel(0, 0, 0xFFFF0000);
    pixmap->WritePixel(1, 0, 0xFF00FF00);
    pixmap->WritePixel(0, 1, 0xFF0000FF);
    return image;
}

TEST(TextPoly, CornersGoLeftEdgeThenRightEdge) {
    const TImagePtr image = cornerImage();
    clearScreen(0, 0, 0);
    drawTextPoly(image, 0, 0, 0, 100, 100, 0, 100, 100);
    EXPECT_EQ(pixelAt(25, 25), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixelAt(75, 25), (Rgb{0, 255, 0}));
    EXPECT_EQ(pixelAt(25, 75), (Rgb{0, 0, 255}));
    EXPECT_EQ(pixelAt(75, 75), (Rgb{255, 255, 255}));
}

TEST(TextPoly, SwappingTheMiddleCornersMirrorsAcrossTheDiagonal) {
    const TImagePtr image = cornerImage();
    clearScreen(0, 0, 0);
    drawTextPoly(image, 0, 0, 100, 0, 0, 100, 100, 100);
    EXPECT_EQ(pixelAt(25, 25), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixelAt(75, 25), (Rgb{0, 0, 255}));
    EXPECT_EQ(pixelAt(25, 75), (Rgb{0, 255, 0}));
    EXPECT_EQ(pixelAt(75, 75), (Rgb{255, 255, 255}));
}

TEST(TextPoly, QuadIsTintedWithTheCurrentColour) {
    const TImagePtr image = solidImage(4, 4, 0xFFFFFFFF);
    clearScreen(0, 0, 0);
    SetColor(230, 100, 0);
    drawTextPoly(image, 10, 10, 10, 50, 50, 10, 50, 50);
    EXPECT_EQ(pixelAt(30, 30), (Rgb{230, 100, 0}));
}
