// Textured quads as OpenGL draws them: the corner order.
#include <gtest/gtest.h>

#include <vector>

#include "game/game.h"
#include "scenery_fixture.h"
#include "support/gl_fixture.h"

TEST(TextPoly, CornersGoDownTheLeftEdgeThenTheRightAndSwappingTheMiddleOnesMirrors) {
    // Red top-left, green top-right, blue bottom-left, white bottom-right.
    const TImagePtr image = solidImage(2, 2, 0xFFFFFFFF);
    TPixmapPtr pixmap = image->Lock(0, false, true);
    pixmap->WritePixel(0, 0, 0xFFFF0000), pixmap->WritePixel(1, 0, 0xFF00FF00), pixmap->WritePixel(0, 1, 0xFF0000FF);
    ASSERT_TRUE(OpenTestGraphics());
    resetScenery();
    drawTextPoly(image, 0, 0, 0, 100, 100, 0, 100, 100);
    drawTextPoly(image, 200, 0, 300, 0, 200, 100, 300, 100);
    const auto quarters = [](int x) {
        return std::vector<uint32_t>{ReadPixel(x + 25, 25), ReadPixel(x + 75, 25), ReadPixel(x + 25, 75), ReadPixel(x + 75, 75)};
    };
    EXPECT_EQ(quarters(0), (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    EXPECT_EQ(quarters(200), (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF}));
}
