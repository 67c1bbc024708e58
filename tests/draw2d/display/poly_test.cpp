// The textured polygon drawer: batching, vertex walking, lines and vertex colours.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <utility>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/poly.h"
#include "draw2d/gl/gl_cache.h"
#include "draw2d/gl/gl_image_frame.h"
#include "support/gl_fixture.h"

namespace {

const int kOpaqueWhite = static_cast<int>(0xFFFFFFFFu);

// Appends one vertex: position, normal (0, 0, 1), colour bits, texture coordinates.
void AddVertex(std::vector<float>& v, float x, float y, uint32_t argb = 0xFFFFFFFF) {
    float colour;
    std::memcpy(&colour, &argb, sizeof colour);
    v.insert(v.end(), {x, y, 0, 0, 0, 1, colour, 0.5f, 0.5f});
}

// Four vertices round the square, clockwise from its top-left corner.
std::vector<float> Square(float x, float y, float size, uint32_t argb = 0xFFFFFFFF) {
    std::vector<float> v;
    for (const auto& [right, down] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{1, 1}, std::pair{0, 1}})
        AddVertex(v, x + right * size, y + down * size, argb);
    return v;
}

// A cleared window and a white image to texture the polygons with.
struct TexturedPolygon : testing::Test {
    TImagePtr white;

    void SetUp() override {
        ASSERT_TRUE(OpenTestGraphics());
        TPixmapPtr pm = TPixmap::Create(4, 4, PIXEL_RGBA8888);
        std::memset(pm->pixels, 0xFF, 4 * 4 * 4);
        white = LoadImage(pm, 0);
    }

    // TPoly enables and binds textures and sets colours behind the layer's caches; put OpenGL
    // and the caches back in step so the tests that follow draw untextured primitives.
    void TearDown() override {
        if (!white) return;
        GLEnableTexture(true);
        GLEnableTexture(false);
        GLBindTexture(std::dynamic_pointer_cast<TGLImageFrame>(white->Frame(0))->name);
        GLBindTexture(0);
        SetColor(255, 255, 255);
    }

    // Draws the vertices as a batch of their own.
    void DrawPolygon(const std::vector<float>& v) {
        TPoly::_Begin();
        TPoly::Draw(white, 0, v.data(), static_cast<int>(v.size()), POLY_POLYGON, 0);
        TPoly::_End();
    }
};

}  // namespace

TEST_F(TexturedPolygon, ConsecutiveDrawsOfOneFrameMakeOnePolygon) {
    TPoly::Initialise();
    DrawPolygon(Square(10, 10, 10));               // the game's quad
    EXPECT_EQ(CountLitPixels(0, 0, 40, 40), 100);

    std::vector<float> quad = Square(50, 50, 10);
    TPoly::_Begin();
    TPoly::Draw(white, 0, quad.data(), 18, POLY_POLYGON, 0);
    TPoly::Draw(white, 0, quad.data() + 18, 18, POLY_POLYGON, 0);
    TPoly::_End();
    EXPECT_EQ(CountLitPixels(45, 45, 20, 20), 100);

    // With another frame the batch is closed in between: two two-vertex polygons show nothing.
    TImagePtr other = LoadImage(white->pixmaps[0], 0);
    quad = Square(100, 50, 10);
    TPoly::_Begin();
    TPoly::Draw(white, 0, quad.data(), 18, POLY_POLYGON, 0);
    TPoly::Draw(other, 0, quad.data() + 18, 18, POLY_POLYGON, 0);
    TPoly::_End();
    EXPECT_EQ(CountLitPixels(95, 45, 20, 20), 0);
}

TEST_F(TexturedPolygon, WalksWholeVerticesOnly) {
    std::vector<float> quad = Square(10, 100, 10);
    TPoly::_Begin();
    TPoly::Draw(white, 0, quad.data(), 35, POLY_POLYGON, 0);   // odd and not whole: nothing
    TPoly::Draw(white, 0, quad.data(), 4, POLY_POLYGON, 0);    // too short: nothing
    TPoly::_End();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(CountLitPixels(0, 90, 40, 40), 0);

    // A triangle of three whole vertices is drawn, though 27 is odd.
    std::vector<float> triangle = Square(50, 100, 20);   // its first three corners
    triangle.resize(27);
    DrawPolygon(triangle);
    EXPECT_NE(ReadPixel(68, 102), 0u);
    EXPECT_EQ(ReadPixel(52, 118), 0u);

    // Forty elements: four whole vertices, the last four floats are left alone.
    std::vector<float> forty = Square(100, 100, 10);
    forty.resize(40, 1e9f);
    DrawPolygon(forty);
    EXPECT_EQ(CountLitPixels(95, 95, 20, 20), 100);
}

TEST_F(TexturedPolygon, LineWithCapsReachesWidthBeyondEachEndAndAPointDrawsNothing) {
    TPoly::_Begin();
    TPoly::Line(white, 0, 100, 100, kOpaqueWhite, 110, 100, kOpaqueWhite, 2, 1, 0);
    TPoly::Line(white, 0, 200, 100, kOpaqueWhite, 200, 100, kOpaqueWhite, 2, 1, 0);   // no length
    TPoly::_End();
    // Corners at (112, 102), (112, 98), (98, 102) and (98, 98).
    EXPECT_EQ(CountLitPixels(98, 98, 14, 4), 14 * 4);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 14 * 4);
}

TEST_F(TexturedPolygon, ALineShadesFromItsFirstColourToItsSecondAlongBothEdges) {
    TPoly::_Begin();
    TPoly::Line(white, 0, 100, 300, static_cast<int>(0xFFFF0000u), 140, 300, static_cast<int>(0xFF0000FFu), 3, 0, 0);
    TPoly::_End();
    for (int y : {298, 301}) {
        EXPECT_GT(ReadPixel(101, y) >> 16, ReadPixel(101, y) & 0xFF) << "start, row " << y;
        EXPECT_LT(ReadPixel(138, y) >> 16, ReadPixel(138, y) & 0xFF) << "end, row " << y;
    }
}

TEST_F(TexturedPolygon, VertexColourWordIsAlphaRedGreenBlue) {
    SetClsColor(0, 0, 255);
    Cls();
    SetBlend(BLEND_ALPHA);
    DrawPolygon(Square(10, 200, 10, 0x80FF0000));  // half-transparent red over blue
    const uint32_t pixel = ReadPixel(15, 205);
    EXPECT_NEAR(static_cast<int>(pixel >> 16), 128, 1);
    EXPECT_NEAR(static_cast<int>(pixel & 0xFFFF), 127, 1);   // no green, and half the blue left
}
