// The null plane driver against the OpenGL one: the same drawing calls leave the same state.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/font.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/layer.h"
#include "draw2d/null_plane_driver.h"
#include "draw2d/poly.h"
#include "draw2d/state.h"
#include "support/gl_fixture.h"

namespace {

// Every field of a drawing state, for comparing two of them.
std::vector<double> Fields(const TDrawState& s) {
    return {double(s.color_red), double(s.color_green), double(s.color_blue), s.color_alpha,
            double(s.cls_red), double(s.cls_green), double(s.cls_blue), s.line_width, s.rotation,
            s.scale_x, s.scale_y, s.tform_ix, s.tform_iy, s.tform_jx, s.tform_jy,
            double(s.viewport_x), double(s.viewport_y), double(s.viewport_w), double(s.viewport_h),
            s.origin_x, s.origin_y, s.handle_x, s.handle_y, double(s.blend_mode),
            double(s.image_font == DrawLayerSettings().default_font)};
}

// What the game does to the drawing state in a frame, and some more; returns the state
// after each step.
std::vector<std::vector<double>> DrawAFrame() {
    std::vector<std::vector<double>> states;
    TPixmapPtr pm = TPixmap::Create(8, 8, PIXEL_RGB888);
    std::memset(pm->pixels, 0xC0, static_cast<size_t>(pm->pitch) * 8);
    TImagePtr image = LoadImage(pm, 3);
    auto step = [&] { states.push_back(Fields(CurrentDrawState())); };
    step();
    SetClsColor(0, 128, 255);
    Cls();
    SetBlend(BLEND_ADD);
    SetColor(300, -4, 90);
    SetAlpha(0.37f);
    DrawOval(100, 100, 31, 17);
    step();
    SetScale(2.5f, 0.75f);
    SetRotation(33);
    DrawImage(image, 50, 60);
    step();
    SetLineWidth(3);
    DrawLine(1, 2, 300, 200, 1);
    Plot(5, 5);
    SetOrigin(3, 4);
    SetHandle(1, 2);
    DrawRect(10, 10, 20, 20);
    DrawPoly({0, 0, 10, 0, 5, 9});
    step();
    SetTransform(0, 1, 1);
    DrawText("Score: 100", 10, 10);
    std::vector<float> quad = {0, 0, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0, 0, 1, 0, 1, 0,
                               9, 9, 0, 0, 0, 1, 0, 1, 1, 0, 9, 0, 0, 0, 1, 0, 0, 1};
    TPoly::_Begin();
    TPoly::Draw(image, 0, quad.data(), static_cast<int>(quad.size()), POLY_POLYGON, 0);
    TPoly::_End();
    SetViewport(10, 10, 100, 100);
    SetBlend(BLEND_ALPHA);
    step();
    SetDrawingDefaults();
    step();
    return states;
}

}  // namespace

// The game's drawing calls leave the same drawing state whichever driver draws them.
TEST(NullPlaneDriver, KeepsTheDrawingStateExactlyAsTheOpenGLDriverDoes) {
    StartDrawLayer(NullPlaneDriver());
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    std::vector<std::vector<double>> headless = DrawAFrame();
    EndGraphics();
    ASSERT_TRUE(OpenTestGraphics());
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));    // a new graphics, as the null one was
    std::vector<std::vector<double>> drawn = DrawAFrame();
    EXPECT_GT(CountLitPixels(0, 0, 640, 480), 0);
    ASSERT_EQ(headless.size(), drawn.size());
    for (size_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(headless[i], drawn[i]) << "after step " << i;
}
