// Textured quads: the packed colour word, the float reinterpretation and the corner order.
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

TEST(TextPoly, CornersGoDownTheLeftEdgeThenTheRightAndSwappingTheMiddleOnesMirrors) {
    // Red top-left, green top-right, blue bottom-left, white bottom-right.
    const TImagePtr image = solidImage(2, 2, 0xFFFFFFFF);
    TPixmapPtr pixmap = image->Lock(0, false, true);
    pixmap->WritePixel(0, 0, 0xFFFF0000), pixmap->WritePixel(1, 0, 0xFF00FF00), pixmap->WritePixel(0, 1, 0xFF0000FF);
    resetScenery();
    drawTextPoly(image, 0, 0, 0, 100, 100, 0, 100, 100);
    drawTextPoly(image, 200, 0, 300, 0, 200, 100, 300, 100);
    const auto quarters = [](int x) {
        return std::vector<uint32_t>{ReadPixel(x + 25, 25), ReadPixel(x + 75, 25), ReadPixel(x + 25, 75), ReadPixel(x + 75, 75)};
    };
    EXPECT_EQ(quarters(0), (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    EXPECT_EQ(quarters(200), (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF}));
}
