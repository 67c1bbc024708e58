// What the primitives really put on the drawing surface.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "draw2d/draw.h"
#include "draw2d/plane.h"
#include "support/gl_fixture.h"

TEST(Plot, LightsExactlyOnePixel) {
    ASSERT_TRUE(OpenTestGraphics());
    Plot(10, 20);
    EXPECT_EQ(ReadPixel(10, 20), 0xFFFFFFu);
    EXPECT_EQ(CountLitPixels(0, 0, 40, 40), 1);
}

TEST(Plot, IgnoresScaleAndHandleButDrawRectHonoursThem) {
    ASSERT_TRUE(OpenTestGraphics());
    SetScale(2, 2);
    SetHandle(5, 5);
    Plot(100, 100);
    EXPECT_EQ(CountLitPixels(90, 90, 20, 20), 1);
    EXPECT_EQ(ReadPixel(100, 100), 0xFFFFFFu);

    // Local corners (-5, -5) to (5, 5), doubled about the handle: pixels 190..209.
    DrawRect(200, 200, 10, 10);
    EXPECT_EQ(CountLitPixels(180, 180, 40, 40), 20 * 20);
    EXPECT_EQ(ReadPixel(190, 190), 0xFFFFFFu);
    EXPECT_EQ(ReadPixel(209, 209), 0xFFFFFFu);
    EXPECT_EQ(ReadPixel(210, 200), 0u);
}

TEST(Plot, OriginMovesEverything) {
    ASSERT_TRUE(OpenTestGraphics());
    SetOrigin(30, 40);
    Plot(1, 2);
    DrawRect(100, 100, 2, 2);
    EXPECT_EQ(ReadPixel(31, 42), 0xFFFFFFu);
    EXPECT_EQ(CountLitPixels(130, 140, 2, 2), 4);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 5);
}

TEST(DrawRect, NegativeSizesFillBackFromTheCorner) {
    ASSERT_TRUE(OpenTestGraphics());
    DrawRect(50, 50, -10, -5);
    EXPECT_EQ(CountLitPixels(0, 0, 100, 100), 50);
    EXPECT_EQ(CountLitPixels(40, 45, 10, 5), 50);
}

TEST(DrawLine, LastPixelFlagLightsTheFarEnd) {
    ASSERT_TRUE(OpenTestGraphics());
    DrawLine(10, 10, 20, 10, 0);
    EXPECT_EQ(CountLitPixels(10, 10, 10, 1), 10);
    EXPECT_EQ(ReadPixel(20, 10), 0u);
    DrawLine(10, 30, 20, 30, 1);
    EXPECT_EQ(CountLitPixels(10, 30, 11, 1), 11);
    EXPECT_EQ(CountLitPixels(0, 25, 40, 10), 11);
}

TEST(DrawLine, WideLineStillGetsItsOnePixelEndPoint) {
    ASSERT_TRUE(OpenTestGraphics());
    SetLineWidth(3);
    DrawLine(100, 100, 120, 100, 1);
    EXPECT_EQ(ReadPixel(120, 100), 0xFFFFFFu);     // the point, past the line's end
    EXPECT_EQ(ReadPixel(120, 99), 0u);             // drawn one pixel wide, not three
    EXPECT_EQ(CountLitPixels(105, 98, 1, 5), 3);   // the line itself is three wide
}

TEST(DrawOval, SegmentCountFollowsTheRadii) {
    EXPECT_EQ(OvalSegments(10, 10), 12);
    EXPECT_EQ(OvalSegments(30, 30), 28);
    EXPECT_EQ(OvalSegments(100, 100), 100);
    EXPECT_EQ(OvalSegments(0, 0), 12);
    EXPECT_EQ(OvalSegments(-30, -30), 28);
    EXPECT_EQ(OvalSegments(31, 2), 16);            // 16.5 -> 16
    EXPECT_EQ(OvalSegments(std::numeric_limits<float>::quiet_NaN(), 4), 12);
    EXPECT_EQ(OvalSegments(1e30f, 1e30f), 1 << 16);  // bounded, not billions
}

TEST(DrawOval, FillsTheEllipseInsideItsBox) {
    ASSERT_TRUE(OpenTestGraphics());
    DrawOval(100, 100, 30, 30);
    int inside = CountLitPixels(100, 100, 30, 30);
    EXPECT_EQ(CountLitPixels(80, 80, 70, 70), inside);
    EXPECT_NEAR(inside, 707, 30);                  // pi * 15 * 15
    EXPECT_EQ(ReadPixel(115, 115), 0xFFFFFFu);
    EXPECT_EQ(ReadPixel(100, 100), 0u);
    EXPECT_EQ(ReadPixel(129, 115), 0xFFFFFFu);     // the rightmost vertex reaches the box edge
    EXPECT_EQ(ReadPixel(115, 100), 0xFFFFFFu);
}

TEST(DrawPoly, NeedsThreeWholePoints) {
    ASSERT_TRUE(OpenTestGraphics());
    DrawPoly({10, 10, 50, 10});
    DrawPoly({10, 10, 50, 10, 50, 50, 10});
    EXPECT_EQ(CountLitPixels(0, 0, 100, 100), 0);
    SetHandle(-100, 0);                            // moves the points right by 100
    DrawPoly({10, 10, 50, 10, 50, 50, 10, 50});
    EXPECT_EQ(CountLitPixels(110, 10, 40, 40), 40 * 40);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 40 * 40);
}

TEST(GrabPixmap, ReadsTheSurfaceAndDrawPixmapPutsItBack) {
    ASSERT_TRUE(OpenTestGraphics());
    SetColor(10, 20, 30);
    DrawRect(5, 6, 2, 1);
    TPixmapPtr grabbed = CurrentPlaneDriver()->GrabPixmap(4, 6, 4, 2);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(grabbed->ReadPixel(1, 0) & 0xFFFFFFu, 0x0A141Eu);
    EXPECT_EQ(grabbed->ReadPixel(0, 0) & 0xFFFFFFu, 0u);
    EXPECT_EQ(grabbed->ReadPixel(1, 1) & 0xFFFFFFu, 0u);
    EXPECT_FALSE(CurrentPlaneDriver()->GrabPixmap(630, 0, 20, 1));   // leaves the window

    SetBlend(BLEND_SOLID);
    CurrentPlaneDriver()->DrawPixmap(*grabbed, 200, 100);
    EXPECT_EQ(ReadPixel(201, 100), 0x0A141Eu);
    EXPECT_EQ(ReadPixel(202, 100), 0x0A141Eu);
    EXPECT_EQ(CountLitPixels(190, 90, 30, 30), 2);
}
