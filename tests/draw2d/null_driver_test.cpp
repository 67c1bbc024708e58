// The null plane driver: graphics without a window, the drawing state kept exactly as the
// OpenGL driver keeps it, and images that load but make no textures.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/layer.h"
#include "draw2d/null_plane_driver.h"
#include "draw2d/poly.h"
#include "draw2d/state.h"

TEST(NullPlaneDriver, OpensGraphicsWithoutAWindowAndRemembersTheirSettings) {
    StartDrawLayer(NullPlaneDriver());
    EndGraphics();                                 // whatever an earlier test left open
    int before = GraphicsSeq();
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(GetGraphicsDriver(), NullPlaneDriver());
    EXPECT_EQ(GraphicsSeq(), before + 1);
    EXPECT_EQ(GraphicsWidth(), 640);
    EXPECT_EQ(GraphicsHeight(), 480);
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsHertz(), 60);
    EXPECT_EQ(GraphicsFlags(), GFX_DOUBLEBUFFER);
    EXPECT_EQ(GetBlend(), BLEND_MASK);             // the defaults of a new graphics
    int x, y, w, h;
    GetViewport(&x, &y, &w, &h);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, 640, 480}));
    uint8_t pixel[4];
    EXPECT_FALSE(ReadFramePixels(0, 0, 1, 1, pixel));   // there is no picture
    EXPECT_FALSE(CurrentPlaneDriver()->GrabPixmap(0, 0, 1, 1));
    EXPECT_EQ(GraphicsError(), "");

    ASSERT_TRUE(Graphics(320, 200, 0, 0, 0));     // opening again closes the first
    EXPECT_EQ(GraphicsSeq(), before + 3);
    EXPECT_EQ(GraphicsWidth(), 320);
    EndGraphics();
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(CurrentGraphics(), nullptr);
}

// Masks and handles are the generic layer's (pixmap_test.cpp); the null driver only has to
// hand out a frame that draws nothing.
TEST(NullPlaneDriver, ImagesLoadAndGiveAFrameButMakeNoTextures) {
    StartDrawLayer(NullPlaneDriver());
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    TImagePtr image = LoadImage(TPixmap::Create(6, 4, PIXEL_RGB888), IMAGE_MASKED);
    ASSERT_TRUE(image);
    TImageFramePtr frame = image->Frame(0);
    ASSERT_TRUE(frame);
    EXPECT_EQ(image->Frame(0), frame);
    DrawImage(image, 10, 10);
    EndGraphics();
}
