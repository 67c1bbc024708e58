// Images on the screen: textures, where DrawImage puts them, the cells it leaves out, and
// embedded pictures that drop their pixmaps.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/gl/gl_cache.h"
#include "draw2d/gl/gl_image_frame.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/plane.h"
#include "draw2d/png_inputs.h"
#include "platform/stream.h"
#include "support/filled_pixmap.h"
#include "support/gl_fixture.h"

namespace {

// A puff like the clouds': a noisy disc fading to black, black (masked) all round it and in
// a hole near its middle. Wider than 64 it is a row of puffs, one every 70 texels, with
// masked gaps between them that straddle the edges of the coverage's 64-texel words.
TImagePtr Puff(int width = 64) {
    const int size = 64;
    auto pm = TPixmap::Create(width, size, PIXEL_RGB888);
    uint32_t seed = 12345;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int cx = x % 70;
            const double dx = cx - 31.5, dy = y - 27.5;
            const double r = std::sqrt(dx * dx + dy * dy);
            const bool hole = std::fabs(cx - 36.0) < 3 && std::fabs(y - 30.0) < 2;
            int v = r < 22 && !hole ? static_cast<int>((22 - r) * 11) + static_cast<int>(seed >> 28) : 0;
            v = std::min(v, 255);
            pm->WritePixel(x, y, 0xFF000000u | (v << 16) | ((v * 3 / 4) << 8) | (v / 2));
        }
    }
    SetMaskColor(0, 0, 0);
    TImagePtr image = LoadImage(pm, IMAGE_MASKED | IMAGE_FILTERED);
    SetImageHandle(image, width / 2, 64);   // bottom centre, as the clouds hang
    return image;
}

// A busy picture to blend over, so every blend shows.
TPixmapPtr Background() {
    auto pm = TPixmap::Create(GraphicsWidth(), GraphicsHeight(), PIXEL_RGBA8888);
    for (int y = 0; y < pm->height; ++y)
        for (int x = 0; x < pm->width; ++x)
            pm->WritePixel(x, y, 0xFF000000u | ((x * 7 + y * 3) & 0xFF) << 16 | ((x ^ y) & 0xFF) << 8 | ((x * y) & 0x7F));
    return pm;
}

struct TCase {
    int blend;
    float scale, x, y;   // a negative scale mirrors
    bool viewport;
};

// Draws the case over the background, with DrawImage or as one whole quad, and reads the window.
std::vector<uint32_t> Drawn(const TImagePtr& image, const TPixmap& background, const TCase& c, bool wholeQuad) {
    SetBlend(BLEND_SOLID);
    SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
    CurrentPlaneDriver()->DrawPixmap(background, 0, 0);
    SetBlend(c.blend);
    SetColor(200, 180, 255);
    SetAlpha(c.blend == BLEND_ADD ? 0.1f : 0.7f);
    if (c.viewport) SetViewport(150, 70, 301, 203);
    SetScale(c.scale, std::fabs(c.scale));
    if (wholeQuad) {
        const float x0 = -image->handle_x, y0 = -image->handle_y;
        image->Frame(0)->Draw(x0, y0, x0 + image->width, y0 + image->height, c.x, c.y);
    } else {
        DrawImage(image, c.x, c.y);
    }
    SetScale(1, 1);
    SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
    return ReadPixels(0, 0, GraphicsWidth(), GraphicsHeight());
}

}  // namespace

TEST(DrawImage, DrawingOnlyCellsWithAlphaGivesTheWholeQuadsPicture) {
    ASSERT_TRUE(OpenTestGraphics());
    for (int width : {64, 215}) {
        SCOPED_TRACE("puff width " + std::to_string(width));
        const TImagePtr image = Puff(width);
        const TPixmapPtr background = Background();
        const std::vector<uint32_t> untouched = [&] {
            SetBlend(BLEND_SOLID);
            CurrentPlaneDriver()->DrawPixmap(*background, 0, 0);
            return ReadPixels(0, 0, GraphicsWidth(), GraphicsHeight());
        }();
        const TCase cases[] = {
            {BLEND_ADD, 13.7f, 330.5f, 700.25f, false},   // larger than the window, hanging from below it
            {BLEND_ADD, 9.1f, -150.0f, 310.0f, false},    // across the left edge
            {BLEND_ADD, 3.3f, 321.0f, 260.0f, false},     // whole, with its hole and its masked ring
            {BLEND_ADD, 0.7f, 100.0f, 100.0f, false},     // shrunk
            {BLEND_ADD, -2.5f, 500.0f, 330.0f, false},    // mirrored
            {BLEND_ALPHA, 6.2f, 280.0f, 400.0f, false},
            {BLEND_MASK, 5.0f, 300.0f, 350.0f, false},
            {BLEND_ADD, 8.0f, 300.0f, 420.0f, true},      // inside a viewport
        };
        for (const TCase& c : cases) {
            SCOPED_TRACE("blend " + std::to_string(c.blend) + ", scale " + std::to_string(c.scale) + " at " +
                         std::to_string(c.x) + ", " + std::to_string(c.y));
            const std::vector<uint32_t> whole = Drawn(image, *background, c, true);
            EXPECT_NE(whole, untouched);   // the case really draws something
            EXPECT_EQ(Drawn(image, *background, c, false), whole);
        }

        // Wholly outside the window or the viewport nothing is drawn, yet the texture is left
        // bound as drawing it leaves it: the textured polygons rely on that.
        const TCase outside[] = {{BLEND_ADD, 4.0f, 320.0f, -10.0f, false}, {BLEND_ADD, 4.0f, 2000.0f, 240.0f, false},
                                 {BLEND_ADD, 2.0f, 700.0f, 300.0f, true}};
        for (const TCase& c : outside) {
            GLBindTexture(0);
            GLEnableTexture(false);
            EXPECT_EQ(Drawn(image, *background, c, false), untouched);
            EXPECT_EQ(GLCache().boundTexture, static_cast<TGLImageFrame&>(*image->Frame(0)).name);
            EXPECT_TRUE(GLCache().textureEnabled);
        }
    }
}

TEST(ImageTexture, PadsToPowersOfTwoRepeatingTheLastColumnAndRow) {
    ASSERT_TRUE(OpenTestGraphics());
    auto pm = TPixmap::Create(100, 60, PIXEL_RGB888);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) pm->WritePixel(x, y, 0xFF000000u | (x << 16) | (y << 8) | 7);
    auto frame = std::dynamic_pointer_cast<TGLImageFrame>(LoadImage(pm, 0)->Frame(0));
    ASSERT_TRUE(frame);
    EXPECT_EQ(std::pair(frame->tex_u1, frame->tex_v1), std::pair(0.78125f, 0.9375f));

    GLint bound = 0, width = 0, height = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, frame->name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_EQ(std::pair(width, height), std::pair(128, 64));
    const TPixmapPtr texture = TPixmap::Create(128, 64, PIXEL_RGBA8888);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texture->pixels);
    glBindTexture(GL_TEXTURE_2D, bound);
    int wrong = 0;                                 // the picture, then its last column and row once more
    for (int y = 0; y <= 60; ++y)
        for (int x = 0; x <= 100; ++x)
            wrong += texture->ReadPixel(x, y) != pm->ReadPixel(std::min(x, 99), std::min(y, 59));
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
    ASSERT_TRUE(OpenTestGraphics());   // which puts the mask colour back afterwards
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
        EXPECT_EQ(drawn(embedded, blend), drawn(kept, blend));
        EXPECT_EQ(embedded->pixmaps[0], nullptr);   // dropped once its texture was made
    }

    // Asked for, the pixmap is decoded and masked again, pixel for pixel.
    const TPixmapPtr again = embedded->Lock(0, true, false);
    ASSERT_TRUE(again);
    ASSERT_EQ(std::tuple(again->width, again->height, again->format),
              std::tuple(decoded->width, decoded->height, decoded->format));
    EXPECT_EQ(std::memcmp(again->pixels, decoded->pixels, static_cast<size_t>(decoded->pitch) * decoded->height), 0);

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
