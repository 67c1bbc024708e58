// DrawImage draws a scaled image only over the window cells where its texels have alpha:
// the picture must come out exactly as drawing the whole quad does.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/gl/gl_cache.h"
#include "draw2d/gl/gl_image_frame.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/plane.h"
#include "draw2d/state.h"
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
    float scale;   // negative mirrors
    float x, y;
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
            const std::vector<uint32_t> cells = Drawn(image, *background, c, false);
            const std::vector<uint32_t> whole = Drawn(image, *background, c, true);
            EXPECT_NE(whole, untouched);   // the case really draws something
            EXPECT_EQ(cells, whole);
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
