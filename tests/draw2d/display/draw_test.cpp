// The drawing state and the primitives, checked against what OpenGL really drew.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>
#include <utility>

#include "draw2d/draw.h"
#include "draw2d/plane.h"
#include "support/gl_fixture.h"

namespace {

uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

}  // namespace

TEST(DrawState, ColourAndAlphaAreClampedWhenSentButReadBackAsSet) {
    ASSERT_TRUE(OpenTestGraphics());
    SetColor(300, -5, 128);
    SetAlpha(1.5f);                                // clamped to 1: the mask blend lets it through
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{300, -5, 128}));
    EXPECT_EQ(GetAlpha(), 1.5f);
    DrawRect(0, 0, 4, 4);
    EXPECT_EQ(ReadPixel(1, 1), Rgb(255, 0, 128));
    // The alpha byte OpenGL is sent is truncated: a half is 127.
    const struct { float alpha; int byte; } alphas[] = {{0.5f, 127}, {0.13f, 33}, {-0.5f, 0}};
    for (const auto& a : alphas) {
        SetAlpha(a.alpha);
        float sent[4];
        glGetFloatv(GL_CURRENT_COLOR, sent);
        EXPECT_EQ(std::lround(sent[3] * 255), a.byte) << a.alpha;
    }
}

TEST(DrawState, EachBlendModeCombinesTheColourWithTheFrameAsItsArithmeticSays) {
    const struct { int mode; uint32_t frame; uint32_t colour; float alpha; uint32_t expected; } cases[] = {
        {BLEND_MASK, 0, Rgb(0, 200, 0), 0.49f, 0},                      // under half alpha: nothing
        {BLEND_MASK, 0, Rgb(0, 200, 0), 0.6f, Rgb(0, 200, 0)},          // above half: opaque
        {BLEND_ALPHA, Rgb(200, 100, 0), Rgb(0, 0, 255), 0.13f, Rgb(174, 87, 33)},  // 33/255 of the way
        {BLEND_ADD, Rgb(100, 100, 250), Rgb(255, 0, 50), 0.2f, Rgb(151, 100, 255)},  // + 51/255, saturating
        {BLEND_MULTIPLY, Rgb(200, 200, 200), Rgb(255, 128, 0), 1, Rgb(200, 100, 0)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(OpenTestGraphics());
        SetClsColor(c.frame >> 16, c.frame >> 8 & 255, c.frame & 255);
        Cls();
        SetBlend(c.mode);
        SetColor(c.colour >> 16, c.colour >> 8 & 255, c.colour & 255);
        SetAlpha(c.alpha);
        DrawRect(0, 0, 10, 10);
        uint32_t p = ReadPixel(5, 5);
        for (int shift : {16, 8, 0})
            EXPECT_NEAR(int(p >> shift & 255), int(c.expected >> shift & 255), 1) << c.mode << " " << c.alpha;
    }
}

TEST(DrawState, SmallerViewportClipsClsAndDrawingAndTheFullWindowTurnsScissoringOff) {
    ASSERT_TRUE(OpenTestGraphics());
    SetViewport(100, 50, 20, 10);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    SetClsColor(255, 0, 0);
    Cls();
    EXPECT_EQ(CountLitPixels(100, 50, 20, 10), 20 * 10);
    SetColor(0, 0, 255);
    DrawRect(0, 0, 640, 480);
    EXPECT_EQ(ReadPixel(110, 55), Rgb(0, 0, 255));
    SetViewport(0, 0, -5, 10);                     // a negative size clips everything
    DrawRect(0, 0, 640, 480);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 20 * 10);
    SetViewport(0, 0, 640, 480);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST(Primitives, LightExactlyTheirTransformedPixels) {
    const struct { const char* what; void (*draw)(); int left, top, across, down; } cases[] = {
        {"a plot is one pixel", [] { Plot(10, 20); }, 10, 20, 1, 1},
        {"a plot ignores scale and handle but not the origin",
         [] { SetScale(2, 2); SetHandle(5, 5); SetOrigin(30, 40); Plot(100, 100); }, 130, 140, 1, 1},
        {"negative sizes fill back from the corner", [] { DrawRect(50, 50, -10, -5); }, 40, 45, 10, 5},
        {"a rectangle doubled about its handle",
         [] { SetScale(2, 2); SetHandle(5, 5); DrawRect(200, 200, 10, 10); }, 190, 190, 20, 20},
        {"a rectangle moved by the origin", [] { SetOrigin(30, 40); DrawRect(100, 100, 2, 2); }, 130, 140, 2, 2},
        {"a quarter turn: x' = -3y, y' = 2x", [] { SetTransform(90, 2, 3); DrawRect(100, 100, 4, 2); }, 94, 100, 6, 8},
        {"a line without its last pixel", [] { DrawLine(10, 10, 20, 10, 0); }, 10, 10, 10, 1},
        {"a line with its last pixel", [] { DrawLine(10, 10, 20, 10, 1); }, 10, 10, 11, 1},
        {"polygons of fewer than three whole points",
         [] { DrawPoly({10, 10, 50, 10}); DrawPoly({10, 10, 50, 10, 50, 50, 10}); }, 0, 0, 0, 0},
        {"a polygon moved by its handle",
         [] { SetHandle(-100, 0); DrawPoly({10, 10, 50, 10, 50, 50, 10, 50}); }, 110, 10, 40, 40},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(OpenTestGraphics());
        c.draw();
        EXPECT_EQ(CountLitPixels(c.left, c.top, c.across, c.down), c.across * c.down) << c.what;
        EXPECT_EQ(CountLitPixels(0, 0, 640, 480), c.across * c.down) << c.what;
    }
    float x, y;
    SetHandle(3, -4);
    GetHandle(&x, &y);
    EXPECT_EQ(std::pair(x, y), std::pair(-3.0f, 4.0f));   // the handle is kept negated
}

TEST(DrawLine, WideLineStillGetsItsOnePixelEndPoint) {
    ASSERT_TRUE(OpenTestGraphics());
    SetLineWidth(3);
    DrawLine(100, 100, 120, 100, 1);
    EXPECT_EQ(ReadPixel(120, 100), 0xFFFFFFu);     // the point, past the line's end
    EXPECT_EQ(ReadPixel(120, 99), 0u);             // drawn one pixel wide, not three
    EXPECT_EQ(CountLitPixels(105, 98, 1, 5), 3);   // the line itself is three wide
}

TEST(DrawOval, FillsTheEllipseInsideItsBox) {
    ASSERT_TRUE(OpenTestGraphics());
    DrawOval(100, 100, 30, 30);
    int inside = CountLitPixels(100, 100, 30, 30);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), inside);
    EXPECT_NEAR(inside, 707, 30);                  // pi * 15 * 15
    EXPECT_EQ(ReadPixel(100, 100), 0u);
    EXPECT_EQ(ReadPixel(129, 115), 0xFFFFFFu);     // the rightmost vertex reaches the box edge
    EXPECT_EQ(ReadPixel(115, 100), 0xFFFFFFu);
}

TEST(GrabPixmap, ReadsTheSurfaceButNeverOutsideIt) {
    ASSERT_TRUE(OpenTestGraphics());
    SetColor(10, 20, 30);
    DrawRect(5, 6, 2, 1);
    TPixmapPtr grabbed = CurrentPlaneDriver()->GrabPixmap(4, 6, 4, 2);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(grabbed->ReadPixel(1, 0) & 0xFFFFFFu, 0x0A141Eu);
    EXPECT_EQ(grabbed->ReadPixel(0, 0) & 0xFFFFFFu, 0u);
    EXPECT_FALSE(CurrentPlaneDriver()->GrabPixmap(630, 0, 20, 1));   // leaves the window
}

// A pause puts back the frame it covered: every byte, alpha too, whatever blend is current.
TEST(GrabPixmap, APictureGrabbedAndPutBackIsTheSameToTheByte) {
    ASSERT_TRUE(OpenTestGraphics());
    SetBlend(BLEND_ALPHA);
    for (int i = 0; i < 40; ++i) SetColor(i * 6, 255 - i * 5, i * 3), SetAlpha(0.02f * i), DrawOval(i * 15, i * 11, 90, 70);
    TPixmapPtr picture = GrabPicture();
    ASSERT_TRUE(picture);
    SetBlend(BLEND_ADD);
    DrawRect(0, 0, 640, 480);
    PutPicture(*picture);
    EXPECT_EQ(GetBlend(), BLEND_ADD);
    TPixmapPtr after = GrabPicture();
    ASSERT_TRUE(after);
    EXPECT_EQ(std::memcmp(after->pixels, picture->pixels, size_t(640) * 480 * 4), 0);
}
