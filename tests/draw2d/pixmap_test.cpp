// Pixmaps: formats, windows, masking and resizing.
#include <gtest/gtest.h>

#include "draw2d/pixmap.h"

namespace {

TPixmapPtr Filled(int w, int h, int format, uint32_t argb) {
    auto pm = TPixmap::Create(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pm->WritePixel(x, y, argb);
    return pm;
}

}  // namespace

TEST(Pixmap, FormatsPitchAndWindowsShareMemory) {
    auto pm = TPixmap::Create(5, 3, PIXEL_RGB888);
    EXPECT_EQ(pm->pitch, 16);   // 15 bytes rounded up to 4
    EXPECT_EQ(pm->PixelPtr(2, 1), pm->pixels + 16 + 6);
    pm->WritePixel(2, 1, 0x80112233);
    EXPECT_EQ(pm->pixels[22], 0x11);
    EXPECT_EQ(pm->ReadPixel(2, 1), 0xFF112233u);   // no alpha: reads opaque
    EXPECT_EQ(pm->Convert(PIXEL_BGRA8888)->Convert(PIXEL_RGBA8888)->ReadPixel(2, 1), 0xFF112233u);
    auto grey = Filled(1, 1, PIXEL_I8, 0xFF4D4D4D), alpha = Filled(1, 1, PIXEL_A8, 0x4D000000);
    EXPECT_EQ(grey->ReadPixel(0, 0), 0xFF4D4D4Du);
    EXPECT_EQ(alpha->ReadPixel(0, 0), 0x4DFFFFFFu);

    TPixmapPtr win = pm->Window(2, 1, 3, 2);
    EXPECT_EQ(win->ReadPixel(0, 0), 0xFF112233u);
    win->WritePixel(1, 1, 0xFFABCDEF);
    pm.reset();   // the window keeps the memory alive
    EXPECT_EQ(win->ReadPixel(1, 1), 0xFFABCDEFu);
    EXPECT_EQ(win->Window(2, 1, 10, 10)->width, 1);   // clipped to the pixmap
}

TEST(Pixmap, PasteConvertsAndClipsAtTheEdges) {
    auto dst = TPixmap::Create(4, 4, PIXEL_RGBA8888);
    dst->Paste(*Filled(3, 3, PIXEL_BGR888, 0xFF102030), 2, -1);
    EXPECT_EQ(dst->ReadPixel(3, 1), 0xFF102030u);
    EXPECT_EQ(dst->ReadPixel(2, 2), 0u);
    EXPECT_EQ(dst->ReadPixel(1, 0), 0u);
}

TEST(MaskPixmap, MaskedPixelsTakeTheirNeighboursAverageOrBecomeTransparentBlack) {
    auto pm = Filled(4, 4, PIXEL_RGB888, 0xFFFF00FF);
    pm->WritePixel(0, 0, 0xFF0A1400);   // (10, 20, 0)
    pm->WritePixel(1, 0, 0xFF141E03);   // (20, 30, 3)
    pm->WritePixel(2, 2, 0xFF646464);
    auto masked = MaskPixmap(*pm, 255, 0, 255);
    EXPECT_EQ(masked->format, PIXEL_RGBA8888);
    EXPECT_EQ(masked->ReadPixel(0, 0), 0xFF0A1400u);
    EXPECT_EQ(masked->ReadPixel(0, 1), 0x000F1901u);   // (30/2, 50/2, 3/2)
    EXPECT_EQ(masked->ReadPixel(1, 1), 0x002B3222u);   // (130/3, 150/3, 103/3)
    EXPECT_EQ(masked->ReadPixel(3, 0), 0u);            // only mask around it
}

TEST(ResizePixmap, SamplesBetweenPixelCentresAndClampsAtTheBorders) {
    auto src = Filled(2, 1, PIXEL_RGBA8888, 0xFF000000);
    src->WritePixel(1, 0, 0xFF640000);   // red 100
    auto wide = ResizePixmap(*src, 4, 1);
    EXPECT_EQ(wide->ReadPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(wide->ReadPixel(1, 0), 0xFF190000u);   // 25
    EXPECT_EQ(wide->ReadPixel(2, 0), 0xFF4B0000u);   // 75
    EXPECT_EQ(wide->ReadPixel(3, 0), 0xFF640000u);
    EXPECT_EQ(ResizePixmap(*src, 1, 1)->ReadPixel(0, 0), 0xFF320000u);
}
