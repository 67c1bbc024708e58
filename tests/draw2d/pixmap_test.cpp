// Pixmaps and loading images, with no display: formats, windows, masking, resizing, the
// layer's load flags and handles, and how many vertices an oval gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "draw2d/draw.h"
#include "draw2d/image.h"
#include "draw2d/png_inputs.h"
#include "support/filled_pixmap.h"
#include "support/temp_dir.h"

namespace {

// Puts the layer-wide image settings back as the program starts with them.
struct TLayerDefaults {
    ~TLayerDefaults() {
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
    TLayerDefaults restore;
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

TEST(ResizePixmap, SamplesBetweenPixelCentresAndHalvesToEachBlocksMean) {
    for (bool across : {true, false}) {            // red 0 then 100, stretched to four pixels
        auto src = Filled(across ? 2 : 1, across ? 1 : 2, PIXEL_RGBA8888, 0xFF000000);
        src->WritePixel(across, !across, 0xFF640000);
        auto stretched = ResizePixmap(*src, across ? 4 : 1, across ? 1 : 4);
        std::vector<uint32_t> reds;
        for (int i = 0; i < 4; ++i) reds.push_back(stretched->ReadPixel(across ? i : 0, across ? 0 : i));
        EXPECT_EQ(reds, (std::vector<uint32_t>{0xFF000000, 0xFF190000, 0xFF4B0000, 0xFF640000})) << across;
        EXPECT_EQ(ResizePixmap(*src, 1, 1)->ReadPixel(0, 0), 0xFF320000u);
    }

    // A mipmap level halves every side longer than one pixel: each channel of a pixel is the
    // mean of its block of two by two (or two) pixels, rounded down.
    const int sizes[][2] = {{8, 8}, {8, 2}, {2, 8}, {8, 1}, {1, 8}, {2, 2}, {1, 1}};
    uint32_t seed = 12345;
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1], halfW = std::max(w / 2, 1), halfH = std::max(h / 2, 1);
        auto from = TPixmap::Create(w, h, PIXEL_RGBA8888);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) from->WritePixel(x, y, seed = seed * 1664525u + 1013904223u);
        auto to = ResizePixmap(*from, halfW, halfH);
        for (int y = 0; y < halfH; ++y)
            for (int x = 0; x < halfW; ++x)
                for (int shift = 0; shift < 32; shift += 8) {
                    uint32_t sum = 0;
                    for (int k = 0; k < 4; ++k) {   // the block's pixels, the last column or row twice
                        const int bx = std::min(2 * x + k % 2, w - 1), by = std::min(2 * y + k / 2, h - 1);
                        sum += from->ReadPixel(bx, by) >> shift & 255;
                    }
                    ASSERT_EQ(to->ReadPixel(x, y) >> shift & 255, sum / 4) << w << "x" << h << " at " << x << "," << y;
                }
    }
}

TEST(LoadImage, MinusOneMeansTheLayersAutomaticFlagsAndAnyNonZeroAutoMidHandleCentresLaterImages) {
    TLayerDefaults restore;
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

TEST(DrawOval, SegmentCountFollowsTheRadiiWithinBounds) {
    const struct { float width, height; int segments; } cases[] = {
        {10, 10, 12}, {30, 30, 28}, {100, 100, 100}, {0, 0, 12}, {-30, -30, 28},
        {31, 2, 16},                                               // 16.5 -> 16
        {std::numeric_limits<float>::quiet_NaN(), 4, 12}, {1e30f, 1e30f, 1 << 16},   // bounded, not billions
    };
    for (const auto& c : cases) EXPECT_EQ(OvalSegments(c.width, c.height), c.segments) << c.width << " by " << c.height;
}
