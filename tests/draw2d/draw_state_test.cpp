// The drawing state: stored values versus what OpenGL is sent, blending, scissoring, caches.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "draw2d/draw.h"
#include "draw2d/state.h"
#include "support/gl_fixture.h"

namespace {

// The colour OpenGL will give the next vertex, as bytes.
void CurrentGLColour(int* rgba) {
    float c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    for (int i = 0; i < 4; ++i) rgba[i] = static_cast<int>(std::lround(c[i] * 255));
}

// Fills the whole window with a colour in solid mode, then restores the blend mode.
void FillWindow(int r, int g, int b) {
    int mode = GetBlend();
    SetBlend(BLEND_SOLID);
    SetColor(r, g, b);
    SetAlpha(1);
    DrawRect(0, 0, 640, 480);
    SetBlend(mode);
}

uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

}  // namespace

TEST(DrawState, ColourAndAlphaAreClampedWhenDrawnButReadBackAsSet) {
    ASSERT_TRUE(OpenTestGraphics());
    SetColor(300, -5, 128);
    SetAlpha(1.5f);
    int r, g, b;
    GetColor(&r, &g, &b);
    EXPECT_EQ(r, 300);
    EXPECT_EQ(g, -5);
    EXPECT_EQ(b, 128);
    EXPECT_EQ(GetAlpha(), 1.5f);
    int sent[4];
    CurrentGLColour(sent);
    EXPECT_EQ(sent[0], 255);
    EXPECT_EQ(sent[1], 0);
    EXPECT_EQ(sent[2], 128);
    EXPECT_EQ(sent[3], 255);
    DrawRect(0, 0, 4, 4);
    EXPECT_EQ(ReadPixel(1, 1), Rgb(255, 0, 128));

    SetAlpha(-0.5f);
    CurrentGLColour(sent);
    EXPECT_EQ(sent[3], 0);
    EXPECT_EQ(GetAlpha(), -0.5f);
}

TEST(DrawState, HalfAlphaIsByte127) {
    ASSERT_TRUE(OpenTestGraphics());
    SetAlpha(0.5f);
    int sent[4];
    CurrentGLColour(sent);
    EXPECT_EQ(sent[3], 127);
    SetAlpha(0.13f);
    CurrentGLColour(sent);
    EXPECT_EQ(sent[3], 33);
}

TEST(DrawState, AlphaBlendFadesTowardTheColourByThirteenPercent) {
    ASSERT_TRUE(OpenTestGraphics());
    FillWindow(200, 100, 0);
    SetBlend(BLEND_ALPHA);
    SetAlpha(0.13f);                               // byte 33
    SetColor(0, 0, 255);
    DrawRect(0, 0, 640, 480);
    // new = old * (1 - 33/255) + colour * 33/255
    uint32_t p = ReadPixel(320, 240);
    EXPECT_NEAR(int(p >> 16), 174, 1);
    EXPECT_NEAR(int((p >> 8) & 255), 87, 1);
    EXPECT_NEAR(int(p & 255), 33, 1);
}

TEST(DrawState, AdditiveBlendAddsTheColourWeightedByAlpha) {
    ASSERT_TRUE(OpenTestGraphics());
    FillWindow(100, 100, 250);
    SetBlend(BLEND_ADD);
    SetAlpha(0.2f);                                // byte 51
    SetColor(255, 0, 50);
    DrawRect(0, 0, 10, 10);
    uint32_t p = ReadPixel(5, 5);
    EXPECT_NEAR(int(p >> 16), 151, 1);
    EXPECT_EQ(int((p >> 8) & 255), 100);
    EXPECT_EQ(int(p & 255), 255);                  // 250 + 10 saturates
}

TEST(DrawState, MaskBlendDrawsOpaqueOnlyFromHalfAlphaUp) {
    ASSERT_TRUE(OpenTestGraphics());
    SetBlend(BLEND_MASK);
    SetColor(0, 200, 0);
    SetAlpha(0.49f);
    DrawRect(0, 0, 10, 10);
    EXPECT_EQ(ReadPixel(5, 5), 0u);
    SetAlpha(0.6f);
    DrawRect(0, 0, 10, 10);
    EXPECT_EQ(ReadPixel(5, 5), Rgb(0, 200, 0));
}

TEST(DrawState, MultiplyBlendScalesTheFrameByTheColour) {
    ASSERT_TRUE(OpenTestGraphics());
    FillWindow(200, 200, 200);
    SetBlend(BLEND_MULTIPLY);
    SetColor(255, 128, 0);
    DrawRect(0, 0, 10, 10);
    uint32_t p = ReadPixel(5, 5);
    EXPECT_EQ(int(p >> 16), 200);
    EXPECT_NEAR(int((p >> 8) & 255), 100, 1);
    EXPECT_EQ(int(p & 255), 0);
}

TEST(DrawState, RepeatedBlendModeIsNotSentAgainUntilGraphicsAreMadeCurrent) {
    ASSERT_TRUE(OpenTestGraphics());
    SetBlend(BLEND_ALPHA);
    glDisable(GL_BLEND);                           // behind the layer's back
    SetBlend(BLEND_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    SetBlend(BLEND_ADD);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GetBlend(), BLEND_ADD);
}

TEST(DrawState, FullWindowViewportTurnsScissoringOff) {
    ASSERT_TRUE(OpenTestGraphics());
    SetViewport(100, 50, 20, 10);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 100);
    EXPECT_EQ(box[1], 480 - 50 - 10);
    EXPECT_EQ(box[2], 20);
    EXPECT_EQ(box[3], 10);
    SetViewport(0, 0, 640, 480);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    int x, y, w, h;
    GetViewport(&x, &y, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
}

TEST(DrawState, SmallerViewportClipsClsAndDrawing) {
    ASSERT_TRUE(OpenTestGraphics());
    SetViewport(100, 50, 20, 10);
    SetClsColor(255, 0, 0);
    Cls();
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 20 * 10);
    EXPECT_EQ(ReadPixel(100, 50), Rgb(255, 0, 0));
    EXPECT_EQ(ReadPixel(119, 59), Rgb(255, 0, 0));
    SetColor(0, 0, 255);
    DrawRect(0, 0, 640, 480);
    EXPECT_EQ(ReadPixel(110, 55), Rgb(0, 0, 255));
    EXPECT_EQ(ReadPixel(99, 55), 0u);
    EXPECT_EQ(ReadPixel(110, 60), 0u);
    SetViewport(0, 0, -5, 10);                     // a negative size clips everything
    DrawRect(0, 0, 640, 480);
    EXPECT_EQ(ReadPixel(99, 55), 0u);
}

TEST(DrawState, RotationAndScaleMakeTheMatrix) {
    ASSERT_TRUE(OpenTestGraphics());
    SetTransform(90, 2, 3);
    const TDrawState& s = CurrentDrawState();
    EXPECT_NEAR(s.tform_ix, 0, 1e-6);
    EXPECT_FLOAT_EQ(s.tform_iy, -3);
    EXPECT_FLOAT_EQ(s.tform_jx, 2);
    EXPECT_NEAR(s.tform_jy, 0, 1e-6);
    float sx, sy;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(sy, 3);
    EXPECT_EQ(GetRotation(), 90);
    // A 4 by 2 rectangle turned a quarter: x' = -3y, y' = 2x.
    DrawRect(100, 100, 4, 2);
    EXPECT_EQ(CountLitPixels(80, 80, 40, 40), 6 * 8);
    EXPECT_EQ(CountLitPixels(94, 100, 6, 8), 6 * 8);
}

TEST(DrawState, HandleIsStoredNegated) {
    ASSERT_TRUE(OpenTestGraphics());
    SetHandle(3, -4);
    float x, y;
    GetHandle(&x, &y);
    EXPECT_EQ(x, -3);
    EXPECT_EQ(y, 4);
}
