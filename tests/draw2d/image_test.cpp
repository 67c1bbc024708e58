// Images: load flags, masking, handles, textures and drawing.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "draw2d/draw.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/state.h"
#include "support/gl_fixture.h"

namespace {

const std::string kRgbPicture = std::string(KESTRAVA_TESTDATA) + "/pngsuite/png/basn2c08.png";

TPixmapPtr Filled(int w, int h, int format, uint32_t argb) {
    auto pm = TPixmap::Create(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pm->WritePixel(x, y, argb);
    return pm;
}

// Puts the layer-wide image settings back as the program starts with them.
struct LayerDefaults {
    ~LayerDefaults() {
        AutoMidHandle(0);
        AutoImageFlags(3);
        SetMaskColor(0, 0, 0);
    }
};

}  // namespace

TEST(LoadImage, MinusOneMeansTheLayersAutomaticFlags) {
    LayerDefaults restore;
    StartPixmapLoaders();
    TImagePtr image = LoadImage(kRgbPicture, -1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->flags, 3);
    EXPECT_EQ(ImageWidth(image), 32);
    AutoImageFlags(4);
    AutoImageFlags(-1);   // leaves it
    EXPECT_EQ(LoadImage(kRgbPicture, -1)->flags, 4);
    EXPECT_EQ(LoadImage(kRgbPicture, 2)->flags, 2);
    EXPECT_FALSE(LoadImage(std::string("incbin::no-such-picture.png"), 3));
}

TEST(LoadImage, MasksOnlyPicturesWithoutAlpha) {
    LayerDefaults restore;
    SetMaskColor(255, 0, 255);
    auto rgb = Filled(3, 3, PIXEL_RGB888, 0xFFFF00FF);
    rgb->WritePixel(0, 0, 0xFF204060);
    TImagePtr image = LoadImage(rgb, 3);
    EXPECT_EQ(image->mask_r, 255);
    EXPECT_EQ(image->pixmaps[0]->ReadPixel(1, 1), 0x00204060u);
    EXPECT_EQ(image->pixmaps[0]->ReadPixel(2, 2), 0x00000000u);
    EXPECT_EQ(LoadImage(rgb, 2)->pixmaps[0], rgb);   // not masked without IMAGE_MASKED
    auto rgba = Filled(2, 2, PIXEL_RGBA8888, 0xC8FF00FF);
    EXPECT_EQ(LoadImage(rgba, 3)->pixmaps[0]->ReadPixel(1, 1), 0xC8FF00FFu);
}

TEST(AutoMidHandle, AnyNonZeroValueMidHandlesLaterImagesOnly) {
    LayerDefaults restore;
    TImagePtr before = LoadImage(Filled(10, 7, PIXEL_RGBA8888, 0xFFFFFFFF), 0);
    AutoMidHandle(123456);
    TImagePtr after = LoadImage(Filled(10, 7, PIXEL_RGBA8888, 0xFFFFFFFF), 0);
    EXPECT_EQ(before->handle_x, 0.0f);
    EXPECT_EQ(after->handle_x, 5.0f);
    EXPECT_EQ(after->handle_y, 3.5f);
    AutoMidHandle(0);
    EXPECT_EQ(LoadImage(Filled(4, 4, PIXEL_RGBA8888, 0), 0)->handle_x, 0.0f);
}

TEST(ImageTexture, PadsToPowersOfTwoRepeatingTheLastColumnAndRow) {
    ASSERT_TRUE(OpenTestGraphics());
    auto pm = TPixmap::Create(100, 60, PIXEL_RGB888);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) pm->WritePixel(x, y, 0xFF000000u | (x << 16) | (y << 8) | 7);
    TImagePtr image = LoadImage(pm, 0);
    EXPECT_EQ(ImageWidth(image), 100);
    EXPECT_EQ(ImageHeight(image), 60);
    auto frame = std::dynamic_pointer_cast<TGLImageFrame>(image->Frame(0));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->tex_u1, 0.78125f);
    EXPECT_EQ(frame->tex_v1, 0.9375f);
    EXPECT_EQ(frame->seq, GraphicsSeq());

    GLint bound = 0, width = 0, height = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, frame->name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<uint8_t> texels(128 * 64 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, bound);
    EXPECT_EQ(width, 128);
    EXPECT_EQ(height, 64);
    auto texel = [&](int x, int y) {
        const uint8_t* p = &texels[(y * 128 + x) * 4];
        return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    };
    EXPECT_EQ(texel(5, 6), pm->ReadPixel(5, 6));
    for (int y = 0; y < 60; ++y) ASSERT_EQ(texel(100, y), pm->ReadPixel(99, y)) << y;
    for (int x = 0; x < 100; ++x) ASSERT_EQ(texel(x, 60), pm->ReadPixel(x, 59)) << x;
    EXPECT_EQ(texel(100, 60), pm->ReadPixel(99, 59));
}

TEST(DrawImage, PlacesTheHandleAtThePositionAndScalesAboutIt) {
    ASSERT_TRUE(OpenTestGraphics());
    TImagePtr image = LoadImage(Filled(4, 4, PIXEL_RGBA8888, 0xFFFF0000), 0);
    DrawImage(image, 10, 10);
    EXPECT_EQ(ReadPixel(10, 10), 0xFF0000u);
    EXPECT_EQ(ReadPixel(13, 13), 0xFF0000u);
    EXPECT_EQ(ReadPixel(14, 14), 0u);
    EXPECT_EQ(ReadPixel(9, 9), 0u);

    MidHandleImage(image);
    SetColor(0, 255, 255);   // the colour multiplies the texels: red * cyan is black
    SetScale(2, 2);
    DrawImage(image, 100, 100);
    SetColor(255, 255, 255);
    DrawImage(image, 200, 100);
    EXPECT_EQ(ReadPixel(196, 96), 0xFF0000u);   // 8 by 8 about the centre
    EXPECT_EQ(ReadPixel(203, 103), 0xFF0000u);
    EXPECT_EQ(ReadPixel(204, 104), 0u);
    EXPECT_EQ(ReadPixel(195, 96), 0u);
    EXPECT_EQ(CountLitPixels(90, 90, 20, 20), 0);
    DrawImage(image, 300, 300, 5);   // a frame the image lacks draws nothing
}

TEST(ImageTexture, IsRemadeOnceAfterGraphicsReopen) {
    ASSERT_TRUE(OpenTestGraphics());
    TImagePtr image = LoadImage(Filled(4, 4, PIXEL_RGBA8888, 0xFF00FF00), 0);
    TImageFramePtr first = image->Frame(0);
    EXPECT_EQ(image->Frame(0), first);
    EXPECT_FALSE(image->Frame(1));   // no such frame
    int seq = GraphicsSeq();
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    ASSERT_TRUE(OpenTestGraphics());
    EXPECT_NE(GraphicsSeq(), seq);
    TImageFramePtr second = image->Frame(0);
    EXPECT_NE(second, first);
    EXPECT_EQ(image->Frame(0), second);
    DrawImage(image, 20, 20);
    EXPECT_EQ(ReadPixel(21, 21), 0x00FF00u);
    // A filtered, mipmapped picture of odd size uploads every level down to 1 by 1.
    while (glGetError() != GL_NO_ERROR) {}
    DrawImage(LoadImage(Filled(5, 3, PIXEL_RGB888, 0xFF0000FF), IMAGE_FILTERED | IMAGE_MIPMAPPED), 40, 40);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(ReadPixel(42, 41), 0x0000FFu);
}
