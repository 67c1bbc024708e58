// Pixmaps and images: formats, masking, resizing, load flags, handles, textures and drawing.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <tuple>

#include "draw2d/draw.h"
#include "draw2d/gl/gl_cache.h"
#include "draw2d/gl/gl_image_frame.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/blend.h"
#include "draw2d/png_inputs.h"
#include "support/gl_fixture.h"
#include "platform/stream.h"
#include "support/temp_dir.h"

namespace {

// A pixmap of one colour.
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

TEST(Pixmap, RowsArePaddedToFourBytesAndWindowsAndPastesStayInside) {
    auto pm = TPixmap::Create(5, 3, PIXEL_RGB888);
    EXPECT_EQ(pm->pitch, 16);                      // 15 bytes rounded up to 4
    pm->WritePixel(2, 1, 0x80112233);
    EXPECT_EQ(pm->pixels[16 + 6], 0x11);
    EXPECT_EQ(pm->Convert(PIXEL_BGRA8888)->ReadPixel(2, 1), 0xFF112233u);   // no alpha converts as opaque
    EXPECT_EQ(Filled(1, 1, PIXEL_A8, 0x4D000000)->ReadPixel(0, 0), 0x4DFFFFFFu);
    TPixmapPtr win = pm->Window(2, 1, 3, 2);
    win->WritePixel(1, 1, 0xFFABCDEF);
    pm.reset();                                    // the window keeps the memory alive
    EXPECT_EQ(win->ReadPixel(0, 0), 0xFF112233u);
    EXPECT_EQ(win->ReadPixel(1, 1), 0xFFABCDEFu);
    EXPECT_EQ(win->Window(2, 1, 10, 10)->width, 1);

    auto dst = TPixmap::Create(4, 4, PIXEL_RGBA8888);
    dst->Paste(*Filled(3, 3, PIXEL_BGR888, 0xFF102030), 2, -1);   // converted, and clipped
    EXPECT_EQ(dst->ReadPixel(3, 1), 0xFF102030u);
    EXPECT_EQ(dst->ReadPixel(2, 2), 0u);
    EXPECT_EQ(dst->ReadPixel(1, 0), 0u);
}

TEST(Masking, MaskedPixelsTakeTheirNeighboursAverageOrBecomeTransparentBlack) {
    LayerDefaults restore;
    auto pm = Filled(4, 4, PIXEL_RGB888, 0xFFFF00FF);
    pm->WritePixel(0, 0, 0xFF0A1400);              // (10, 20, 0)
    pm->WritePixel(1, 0, 0xFF141E03);              // (20, 30, 3)
    pm->WritePixel(2, 2, 0xFF646464);
    auto masked = MaskPixmap(*pm, 255, 0, 255);
    EXPECT_EQ(masked->format, PIXEL_RGBA8888);
    EXPECT_EQ(masked->ReadPixel(0, 0), 0xFF0A1400u);
    EXPECT_EQ(masked->ReadPixel(0, 1), 0x000F1901u);   // (30/2, 50/2, 3/2)
    EXPECT_EQ(masked->ReadPixel(1, 1), 0x002B3222u);   // (130/3, 150/3, 103/3)
    EXPECT_EQ(masked->ReadPixel(3, 0), 0u);            // only mask around it
    // Images are masked with the layer's mask colour, only when IMAGE_MASKED and never with alpha.
    SetMaskColor(255, 0, 255);
    EXPECT_EQ(LoadImage(pm, 3)->pixmaps[0]->ReadPixel(1, 1), 0x002B3222u);
    EXPECT_EQ(LoadImage(pm, 2)->pixmaps[0], pm);
    EXPECT_EQ(LoadImage(Filled(2, 2, PIXEL_RGBA8888, 0xC8FF00FF), 3)->pixmaps[0]->ReadPixel(1, 1), 0xC8FF00FFu);
}

TEST(ResizePixmap, SamplesBetweenPixelCentresAndClampsAtTheBorders) {
    auto src = Filled(2, 1, PIXEL_RGBA8888, 0xFF000000);
    src->WritePixel(1, 0, 0xFF640000);             // red 100
    auto wide = ResizePixmap(*src, 4, 1);
    EXPECT_EQ(wide->ReadPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(wide->ReadPixel(1, 0), 0xFF190000u);   // 25
    EXPECT_EQ(wide->ReadPixel(2, 0), 0xFF4B0000u);   // 75
    EXPECT_EQ(wide->ReadPixel(3, 0), 0xFF640000u);
    EXPECT_EQ(ResizePixmap(*src, 1, 1)->ReadPixel(0, 0), 0xFF320000u);

    // Every size a mipmap chain halves through gives what sampling between centres gives.
    auto blended = [](const TPixmap& from, int width, int height, int x, int y, int shift) {
        auto sample = [](int i, int from, int to) {
            double pos = std::clamp((i + 0.5) * (static_cast<float>(from) / static_cast<float>(to)) - 0.5, 0.0,
                                    from - 1.0);
            return std::tuple{static_cast<int>(pos), std::min(static_cast<int>(pos) + 1, from - 1), pos - static_cast<int>(pos)};
        };
        auto [x0, x1, fx] = sample(x, from.width, width);
        auto [y0, y1, fy] = sample(y, from.height, height);
        auto at = [&](int px, int py) { return double((from.ReadPixel(px, py) >> shift) & 255); };
        double top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
        double bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
        return static_cast<uint32_t>(top + (bottom - top) * fy);
    };
    const int sizes[][4] = {{8, 8, 4, 4}, {8, 2, 4, 1}, {2, 8, 1, 4}, {8, 1, 4, 1}, {1, 8, 1, 4}, {2, 2, 1, 1}, {1, 1, 1, 1}, {5, 3, 3, 2}};
    uint32_t seed = 12345;
    for (const auto& size : sizes) {
        auto from = TPixmap::Create(size[0], size[1], PIXEL_RGBA8888);
        for (int y = 0; y < size[1]; ++y)
            for (int x = 0; x < size[0]; ++x) from->WritePixel(x, y, seed = seed * 1664525u + 1013904223u);
        auto to = ResizePixmap(*from, size[2], size[3]);
        for (int y = 0; y < size[3]; ++y)
            for (int x = 0; x < size[2]; ++x)
                for (int shift = 0; shift < 32; shift += 8)
                    ASSERT_EQ((to->ReadPixel(x, y) >> shift) & 255, blended(*from, size[2], size[3], x, y, shift))
                        << size[0] << "x" << size[1] << " to " << size[2] << "x" << size[3] << " at " << x << "," << y;
    }
}

TEST(LoadImage, MinusOneMeansTheLayersAutomaticFlagsAndAnyNonZeroAutoMidHandleCentresLaterImages) {
    LayerDefaults restore;
    StartPixmapLoaders();
    TTempDir dir;
    const std::string rgbPicture = dir.Write("rgb.png", RgbPngPicture(32, 32).bytes);
    TImagePtr first = LoadImage(rgbPicture, -1);
    ASSERT_TRUE(first) << rgbPicture;
    EXPECT_EQ(first->flags, 3);
    AutoImageFlags(4);
    AutoImageFlags(-1);                            // leaves it
    EXPECT_EQ(LoadImage(rgbPicture, -1)->flags, 4);
    EXPECT_EQ(LoadImage(rgbPicture, 2)->flags, 2);
    EXPECT_FALSE(LoadImage(std::string("incbin::no-such-picture.png"), 3));

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
    auto frame = std::dynamic_pointer_cast<TGLImageFrame>(LoadImage(pm, 0)->Frame(0));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->tex_u1, 0.78125f);
    EXPECT_EQ(frame->tex_v1, 0.9375f);

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
    int wrong = 0;                                 // the picture, then its last column and row once more
    for (int y = 0; y <= 60; ++y) {
        for (int x = 0; x <= 100; ++x) {
            const uint8_t* p = &texels[(y * 128 + x) * 4];
            uint32_t texel = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
            wrong += texel != pm->ReadPixel(std::min(x, 99), std::min(y, 59));
        }
    }
    EXPECT_EQ(wrong, 0);

    // A filtered, mipmapped picture of odd size uploads every level down to 1 by 1.
    while (glGetError() != GL_NO_ERROR) {}
    DrawImage(LoadImage(Filled(5, 3, PIXEL_RGB888, 0xFF0000FF), IMAGE_FILTERED | IMAGE_MIPMAPPED), 40, 40);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(ReadPixel(42, 41), 0x0000FFu);
}

TEST(DrawImage, PlacesTheHandleAtThePositionAndScalesAboutIt) {
    ASSERT_TRUE(OpenTestGraphics());
    TImagePtr image = LoadImage(Filled(4, 4, PIXEL_RGBA8888, 0xFFFF0000), 0);
    DrawImage(image, 10, 10);
    EXPECT_EQ(CountLitPixels(10, 10, 4, 4), 16);
    EXPECT_EQ(CountLitPixels(0, 0, 40, 40), 16);

    MidHandleImage(image);
    SetColor(0, 255, 255);                         // the colour multiplies the texels: red * cyan is black
    SetScale(2, 2);
    DrawImage(image, 100, 100);
    SetColor(255, 255, 255);
    DrawImage(image, 200, 100);
    EXPECT_EQ(CountLitPixels(196, 96, 8, 8), 64);  // 8 by 8 about the centre
    EXPECT_EQ(ReadPixel(196, 96), 0xFF0000u);
    DrawImage(image, 300, 300, 5);                 // a frame the image lacks draws nothing
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 16 + 64);
}

// A picture from the program's embedded files keeps no pixmap once its texture is made: it
// draws the same pixels as the same picture kept in memory, gives back the same (masked)
// pixels when locked, and keeps what is written into it.
TEST(EmbeddedPicture, DropsItsPixmapOnceDrawnYetDrawsAndLocksTheSamePixels) {
    LayerDefaults restore;
    ASSERT_TRUE(OpenTestGraphics());
    StartPixmapLoaders();
    StartStreams();
    static const TPngPicture picture = RgbPngPicture(150, 40);   // rows wider than two words of bits
    ASSERT_FALSE(picture.bytes.empty());
    ASSERT_NE(IncbinAdd("dropped-pixmap.png", picture.bytes.data(), static_cast<int>(picture.bytes.size())), 0);
    const uint32_t mask = picture.argb[0];
    SetMaskColor((mask >> 16) & 0xFF, (mask >> 8) & 0xFF, mask & 0xFF);
    TImagePtr embedded = LoadImage("incbin::dropped-pixmap.png", IMAGE_MASKED);
    ASSERT_TRUE(embedded);
    const TPixmapPtr decoded = embedded->pixmaps[0];
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->ReadPixel(0, 0) >> 24, 0u);   // the mask colour became transparent
    const TImagePtr kept = LoadImage(decoded->Copy(), 0);

    auto drawn = [](const TImagePtr& image, int blend) {
        SetBlend(BLEND_SOLID);
        SetClsColor(40, 90, 160);
        Cls();
        SetBlend(blend);
        DrawImage(image, 13, 9);
        SetScale(2.5f, 1.5f);
        DrawImage(image, 250, 120);   // scaled: drawn over the cells where its texels have alpha
        SetScale(1, 1);
        SetBlend(BLEND_SOLID);
        return ReadPixels(0, 0, 640, 200);
    };
    for (int blend : {BLEND_ALPHA, BLEND_MASK, BLEND_SOLID}) {
        SCOPED_TRACE("blend " + std::to_string(blend));
        const std::vector<uint32_t> fromMemory = drawn(kept, blend);
        EXPECT_EQ(drawn(embedded, blend), fromMemory);
        EXPECT_EQ(embedded->pixmaps[0], nullptr);   // dropped once its texture was made
        EXPECT_EQ(kept->pixmaps[0] != nullptr, true);
    }

    // Asked for, the pixmap is decoded and masked again, pixel for pixel.
    const TPixmapPtr again = embedded->Lock(0, true, false);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->width, decoded->width);
    ASSERT_EQ(again->height, decoded->height);
    int differing = 0;
    for (int y = 0; y < decoded->height; ++y)
        for (int x = 0; x < decoded->width; ++x) differing += again->ReadPixel(x, y) != decoded->ReadPixel(x, y);
    EXPECT_EQ(differing, 0);

    // Written into, the image keeps that pixmap and draws what was written.
    const TPixmapPtr written = embedded->Lock(0, false, true);
    written->WritePixel(0, 0, 0xFFFF0000u);
    decoded->WritePixel(0, 0, 0xFFFF0000u);
    const TImagePtr keptWritten = LoadImage(decoded->Copy(), 0);
    EXPECT_EQ(drawn(embedded, BLEND_ALPHA), drawn(keptWritten, BLEND_ALPHA));
    EXPECT_EQ(embedded->pixmaps[0], written);
    EXPECT_EQ(ReadPixel(13, 9), 0xFF0000u);
}

// A deleted texture's name may be given to the next new texture; the driver's bound-texture
// cache must then not believe that name is still bound (the window's context still holds
// the deleted texture under it).
TEST(ImageTexture, ANewTextureGivenADeletedTexturesNameIsReallyBound) {
    ASSERT_TRUE(OpenTestGraphics());
    TImagePtr red = LoadImage(Filled(4, 4, PIXEL_RGBA8888, 0xFFFF0000u), 0);
    DrawImage(red, 0, 0);
    EXPECT_EQ(ReadPixel(1, 1), 0xFF0000u);
    unsigned redName = std::dynamic_pointer_cast<TGLImageFrame>(red->Frame(0))->name;
    EXPECT_EQ(GLCache().boundTexture, redName);
    red->Lock(0, true, true);                      // writing drops the frame: its texture is deleted
    EXPECT_NE(GLCache().boundTexture, redName);
    TImagePtr green = LoadImage(Filled(4, 4, PIXEL_RGBA8888, 0xFF00FF00u), 0);
    DrawImage(green, 10, 0);                       // whatever name it got (Mesa gives out new ones)
    EXPECT_EQ(ReadPixel(11, 1), 0x00FF00u);
}
