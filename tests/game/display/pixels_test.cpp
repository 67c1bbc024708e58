// The bird, the life bar and textured quads as the pixels OpenGL draws.
#include <gtest/gtest.h>

#include <vector>

#include "draw2d/draw.h"
#include "game/game.h"
#include "scenery_fixture.h"
#include "support/gl_fixture.h"

TEST(Bird, AtRestItIsSymmetricWithWingTipsReaching255And385) {
    ASSERT_TRUE(OpenTestGraphics());
    ResetScenery();   // cx 320, body and both wings at 439, no counts, no fatigue
    drawBird();
    EXPECT_EQ(ReadPixel(317, 436), 0xE6E6E6u);   // body, beside the white spine
    EXPECT_EQ(ReadPixel(320, 436), 0xFFFFFFu);
    EXPECT_EQ(ReadPixel(255, 462), 0xE6E6E6u);
    EXPECT_EQ(ReadPixel(384, 462), 0xE6E6E6u);
    EXPECT_EQ(ReadPixel(253, 462), 0u);
    EXPECT_EQ(ReadPixel(386, 462), 0u);
    for (int dx = 10; dx <= 60; dx += 10) EXPECT_EQ(ReadPixel(320 - dx, 455), ReadPixel(319 + dx, 455)) << dx;
    EXPECT_EQ(ColourNow(), 0xFFFFFF);
    EXPECT_EQ(GetBlend(), BLEND_ALPHA);
    EXPECT_EQ(GetLineWidth(), 3.0f);
}

// Its tail and body swing toward the wing that works less: with the left wing's count up,
// more of the tail lies right of the spine than left of it.
TEST(Bird, ItLeansTowardTheWingThatWorksLess) {
    ASSERT_TRUE(OpenTestGraphics());
    ResetScenery();
    game.leftcountt = 40.0f;
    drawBird();
    const std::vector<uint32_t> tail = ReadPixels(300, 462, 40, 18);
    int left = 0, right = 0;
    for (size_t i = 0; i < tail.size(); ++i) (i % 40 < 20 ? left : right) += tail[i] != 0;
    EXPECT_GT(right, left + 100) << left << " lit left of the spine, " << right << " right";
}

TEST(LifeBar, FullLifeFillsTheFrameOnePixelInNoLifeLeavesItEmptyMinusOneLeavesASliver) {
    constexpr uint32_t kSky = 0x0080FF, kBlack = 0, kWhite = 0xFFFFFF;
    const struct { int life; int firstWhite, lastWhite; } cases[] = {{100, 220, 419}, {0, 0, -1}, {-1, 319, 320}};
    for (const auto& t : cases) {
        ASSERT_TRUE(OpenTestGraphics());
        ResetScenery(kSky);
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

TEST(TextPoly, CornersGoDownTheLeftEdgeThenTheRightAndSwappingTheMiddleOnesMirrors) {
    // Red top-left, green top-right, blue bottom-left, white bottom-right.
    const TImagePtr image = SolidImage(2, 2, 0xFFFFFFFF);
    TPixmapPtr pixmap = image->Lock(0, false, true);
    pixmap->WritePixel(0, 0, 0xFFFF0000), pixmap->WritePixel(1, 0, 0xFF00FF00), pixmap->WritePixel(0, 1, 0xFF0000FF);
    ASSERT_TRUE(OpenTestGraphics());
    ResetScenery();
    drawTextPoly(image, 0, 0, 0, 100, 100, 0, 100, 100);
    drawTextPoly(image, 200, 0, 300, 0, 200, 100, 300, 100);
    const auto quarters = [](int x) {
        return std::vector<uint32_t>{ReadPixel(x + 25, 25), ReadPixel(x + 75, 25), ReadPixel(x + 25, 75), ReadPixel(x + 75, 75)};
    };
    EXPECT_EQ(quarters(0), (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    EXPECT_EQ(quarters(200), (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF}));
}
