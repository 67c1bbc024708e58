// Pixmaps: formats, windows, conversion, masking and resizing.
#include <gtest/gtest.h>

#include "draw2d/pixmap.h"

namespace {

TPixmapPtr RgbPixmap(int w, int h, uint32_t fill) {
    auto pm = TPixmap::Create(w, h, PIXEL_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pm->WritePixel(x, y, fill);
    return pm;
}

}  // namespace

TEST(Pixmap, PitchIsRoundedUpToFourBytes) {
    auto pm = TPixmap::Create(5, 3, PIXEL_RGB888);
    EXPECT_EQ(pm->pitch, 16);
    EXPECT_EQ(pm->capacity, 48);
    EXPECT_EQ(pm->PixelPtr(2, 1), pm->pixels + 16 + 6);
    EXPECT_EQ(TPixmap::Create(3, 1, PIXEL_I8)->pitch, 4);
}

TEST(Pixmap, EachFormatReadsBackAsArgb) {
    const uint32_t colour = 0x80402010;
    EXPECT_EQ(TPixmap::Create(1, 1, PIXEL_RGBA8888)->Convert(PIXEL_RGBA8888)->ReadPixel(0, 0), 0u);
    for (int format : {PIXEL_RGBA8888, PIXEL_BGRA8888}) {
        auto pm = TPixmap::Create(1, 1, format);
        pm->WritePixel(0, 0, colour);
        EXPECT_EQ(pm->ReadPixel(0, 0), colour) << format;
    }
    for (int format : {PIXEL_RGB888, PIXEL_BGR888}) {
        auto pm = TPixmap::Create(1, 1, format);
        pm->WritePixel(0, 0, colour);
        EXPECT_EQ(pm->ReadPixel(0, 0), 0xFF402010u) << format;
    }
    auto rgb = TPixmap::Create(1, 1, PIXEL_RGB888);
    rgb->WritePixel(0, 0, 0xFF112233);
    EXPECT_EQ(rgb->pixels[0], 0x11);
    EXPECT_EQ(rgb->pixels[2], 0x33);

    auto grey = TPixmap::Create(1, 1, PIXEL_I8);
    grey->pixels[0] = 77;
    EXPECT_EQ(grey->ReadPixel(0, 0), 0xFF4D4D4Du);
    auto alpha = TPixmap::Create(1, 1, PIXEL_A8);
    alpha->pixels[0] = 77;
    EXPECT_EQ(alpha->ReadPixel(0, 0), 0x4DFFFFFFu);
    EXPECT_EQ(BytesPerPixel(PIXEL_BGR888), 3);
    EXPECT_EQ(AlphaBits(PIXEL_RGB888), 0);
    EXPECT_EQ(AlphaBits(PIXEL_A8), 8);
}

TEST(Pixmap, WindowSharesMemoryAndOutlivesItsParent) {
    auto pm = RgbPixmap(8, 8, 0xFF000000);
    TPixmapPtr win = pm->Window(2, 3, 4, 2);
    EXPECT_EQ(win->width, 4);
    EXPECT_EQ(win->pitch, pm->pitch);
    EXPECT_EQ(win->capacity, 0);
    win->WritePixel(0, 0, 0xFFABCDEF);
    EXPECT_EQ(pm->ReadPixel(2, 3), 0xFFABCDEFu);
    pm.reset();
    EXPECT_EQ(win->ReadPixel(0, 0), 0xFFABCDEFu);   // the memory is still there
    EXPECT_EQ(win->Window(3, 1, 10, 10)->width, 1);  // clipped to the pixmap
}

TEST(Pixmap, PasteConvertsAndClipsAtTheEdges) {
    auto dst = TPixmap::Create(4, 4, PIXEL_RGBA8888);
    auto src = RgbPixmap(3, 3, 0xFF102030);
    dst->Paste(*src, 2, -1);
    EXPECT_EQ(dst->ReadPixel(2, 0), 0xFF102030u);
    EXPECT_EQ(dst->ReadPixel(3, 1), 0xFF102030u);
    EXPECT_EQ(dst->ReadPixel(2, 2), 0u);
    EXPECT_EQ(dst->ReadPixel(1, 0), 0u);
    auto copy = dst->Copy();
    EXPECT_NE(copy->pixels, dst->pixels);
    EXPECT_EQ(copy->Convert(PIXEL_BGR888)->ReadPixel(3, 1), 0xFF102030u);
}

TEST(MaskPixmap, MaskedPixelTakesItsNeighboursAverage) {
    auto pm = RgbPixmap(3, 3, 0xFFFF00FF);
    pm->WritePixel(0, 0, 0xFF0A1400);   // (10, 20, 0)
    pm->WritePixel(1, 0, 0xFF141E03);   // (20, 30, 3)
    pm->WritePixel(2, 2, 0xFF646464);   // far from (0, 0)
    auto masked = MaskPixmap(*pm, 255, 0, 255);
    EXPECT_EQ(masked->format, PIXEL_RGBA8888);
    EXPECT_EQ(masked->ReadPixel(0, 0), 0xFF0A1400u);  // kept, made opaque
    // (0, 1) sees (0, 0) and (1, 0): ((10+20)/2, (20+30)/2, 3/2) with integer division.
    EXPECT_EQ(masked->ReadPixel(0, 1), 0x000F1901u);
    // (1, 1) sees all three: (130/3, 150/3, 103/3).
    EXPECT_EQ(masked->ReadPixel(1, 1), 0x002B3222u);
}

TEST(MaskPixmap, PixelSurroundedByMaskBecomesTransparentBlack) {
    auto pm = RgbPixmap(5, 5, 0xFFFFFFFF);
    pm->WritePixel(4, 4, 0xFF808080);
    auto masked = MaskPixmap(*pm, 255, 255, 255);
    EXPECT_EQ(masked->ReadPixel(0, 0), 0u);
    EXPECT_EQ(masked->ReadPixel(3, 3), 0x00808080u);
    EXPECT_EQ(masked->ReadPixel(4, 4), 0xFF808080u);
}

TEST(ResizePixmap, SamplesBetweenPixelCentresAndClampsAtTheBorders) {
    auto src = TPixmap::Create(2, 1, PIXEL_RGBA8888);
    src->WritePixel(0, 0, 0xFF000000);
    src->WritePixel(1, 0, 0xFF640000);   // red 100
    auto wide = ResizePixmap(*src, 4, 1);
    EXPECT_EQ(wide->format, PIXEL_RGBA8888);
    EXPECT_EQ(wide->ReadPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(wide->ReadPixel(1, 0), 0xFF190000u);   // 25
    EXPECT_EQ(wide->ReadPixel(2, 0), 0xFF4B0000u);   // 75
    EXPECT_EQ(wide->ReadPixel(3, 0), 0xFF640000u);
    auto one = ResizePixmap(*src, 1, 1);
    EXPECT_EQ(one->ReadPixel(0, 0), 0xFF320000u);    // 50: halfway
    EXPECT_EQ(ResizePixmap(*RgbPixmap(3, 2, 0xFF123456), 7, 5)->ReadPixel(6, 4), 0xFF123456u);
}
