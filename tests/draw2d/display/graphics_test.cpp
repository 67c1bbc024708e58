// The window and the frame flip: the picture kept across flips, reopening, closing, and when
// Flip(-1) paces in software.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/graphics.h"
#include "draw2d/font.h"
#include "draw2d/image.h"
#include "draw2d/poly.h"
#include "platform/platform.h"
#include "support/fake_platform.h"
#include "support/gl_fixture.h"

TEST(Flip, ThePictureSurvivesFlipsOfEveryKind) {
    ASSERT_TRUE(OpenTestGraphics());
    {
        TFakeClock clock;
        ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
        SetColor(10, 200, 30);
        DrawRect(300, 200, 5, 5);
        for (int sync : {-1, -1, 0, 1}) Flip(sync);
        EXPECT_EQ(clock.targets.size(), 2u) << "only the paced flips wait";
        EXPECT_EQ(ReadPixel(302, 202), 0x0AC81Eu);
        EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 25);
    }
    ASSERT_TRUE(OpenTestGraphics());               // back on the real clock
}

namespace {

// How many texture names OpenGL holds among the first few thousand (names are handed out low).
int LiveTextureNames() {
    int live = 0;
    for (GLuint name = 1; name <= 4096; ++name) live += glIsTexture(name) == GL_TRUE;
    return live;
}

}  // namespace

TEST(Graphics, OpeningAgainStartsCleanRemakesEachTextureOnceAndFreesTheOldOnes) {
    ASSERT_TRUE(OpenTestGraphics());
    TPixmapPtr white = TPixmap::Create(4, 4, PIXEL_RGBA8888);
    std::memset(white->pixels, 0xFF, 4 * 4 * 4);
    TImagePtr images[2] = {LoadImage(white, 0), LoadImage(white, IMAGE_FILTERED)};
    TImageFramePtr first = images[0]->Frame(0);
    EXPECT_EQ(images[0]->Frame(0), first);
    DrawImage(images[1], 20, 10);
    DrawText("x", 30, 10);
    const int live = LiveTextureNames();
    SetColor(255, 0, 0);
    DrawRect(0, 0, 640, 480);
    SetScale(3, 3);
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 0);  // a new surface, cleared
    float sx, sy;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 1);
    EXPECT_EQ(GetBlend(), BLEND_MASK);
    TImageFramePtr second = images[0]->Frame(0);
    EXPECT_NE(second, first);
    EXPECT_EQ(images[0]->Frame(0), second);
    DrawImage(images[0], 10, 10);
    DrawImage(images[1], 20, 10);
    DrawText("x", 30, 10);
    EXPECT_EQ(CountLitPixels(10, 10, 14, 4), 32);
    // Each image has one texture now, as before: the ones made for earlier graphics are gone.
    first.reset();
    EXPECT_LE(LiveTextureNames(), live);
}

TEST(Graphics, DrawingWithNoGraphicsOpenIsHarmless) {
    ASSERT_TRUE(OpenTestGraphics());
    EndGraphics();
    SetColor(1, 2, 3);
    DrawRect(0, 0, 10, 10);
    DrawOval(0, 0, 10, 10);
    Cls();
    TPixmapPtr white = TPixmap::Create(4, 4, PIXEL_RGBA8888);
    TImagePtr image = LoadImage(white, 0);
    EXPECT_EQ(image->Frame(0), nullptr);           // nothing to make a texture for
    DrawImage(image, 1, 1);                        // as quiet as every other primitive
    DrawText("quiet", 1, 1);
    std::vector<float> quad(36, 1.0f);
    TPoly::_Begin();
    TPoly::Draw(image, 0, quad.data(), 36, POLY_POLYGON, 0);
    TPoly::_End();
    Flip(-1);
    uint8_t pixel[4];
    EXPECT_FALSE(ReadFramePixels(0, 0, 1, 1, pixel));
    ASSERT_TRUE(OpenTestGraphics());
}

TEST(GraphicsModes, ListsTheDisplaysModesAndFullScreenOpensInOne) {
    ASSERT_TRUE(OpenTestGraphics());
    std::vector<TGraphicsMode> modes = GraphicsModes();
    ASSERT_FALSE(modes.empty());
    for (const TGraphicsMode& m : modes) {
        EXPECT_GT(m.width, 0);
        EXPECT_GT(m.height, 0);
        EXPECT_GT(m.depth, 0);
        EXPECT_TRUE(GraphicsModeExists(m.width, m.height, m.depth, m.hz));
        EXPECT_TRUE(GraphicsModeExists(m.width, m.height));
    }
    EXPECT_FALSE(GraphicsModeExists(7, 5));
    const TGraphicsMode& mode = modes.front();

    // Full screen in a listed mode, with hz 0 (no display probe): draw, read back, flip, close.
    TGraphicsPtr g = Graphics(mode.width, mode.height, mode.depth, 0, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(GraphicsWidth(), mode.width);
    EXPECT_EQ(GraphicsDepth(), mode.depth);
    SetColor(10, 200, 30);
    DrawRect(100, 50, 20, 10);
    TPixmapPtr white = TPixmap::Create(4, 4, PIXEL_RGBA8888);
    std::memset(white->pixels, 0xFF, 4 * 4 * 4);
    TImagePtr image = LoadImage(white, 0);
    DrawImage(image, 300, 300);                    // a texture made while full screen owns the display
    EXPECT_EQ(ReadPixel(105, 55), 0x0AC81Eu);
    EXPECT_EQ(ReadPixel(301, 301), 0x0AC81Eu);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 200 + 16);
    Flip(0);
    EXPECT_EQ(ReadPixel(105, 55), 0x0AC81Eu);
    EndGraphics();
    EXPECT_EQ(CurrentGraphics(), nullptr);
    image.reset();
    ASSERT_TRUE(OpenTestGraphics());               // a window again
    DrawRect(0, 0, 2, 2);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 4);
}

TEST(Graphics, FullScreenProbeLetsADisplayAtTheRateDoThePacing) {
    ASSERT_TRUE(OpenTestGraphics());
    std::vector<TGraphicsMode> modes = GraphicsModes();
    ASSERT_FALSE(modes.empty());
    const TGraphicsMode& mode = modes.front();
    // Flips that each take 16 ms (one reading apart) are a 60 Hz display: Flip(-1) leaves the
    // pacing to it and never sleeps. Flips of 5 ms are not, so Flip(-1) paces in software.
    for (int step : {16, 5}) {
        TFakeClock clock;
        clock.step = step;
        ASSERT_TRUE(Graphics(mode.width, mode.height, mode.depth, 60, 0)) << step;
        clock.targets.clear();
        for (int frame = 0; frame < 3; ++frame) Flip(-1);
        EXPECT_EQ(clock.targets.size(), step == 16 ? 0u : 3u) << step;
        EndGraphics();
    }
    // A windowed Graphics never probes (a probe reads the clock for a whole second), and
    // always paces in software.
    {
        TFakeClock clock;
        clock.step = 1;
        ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
        EXPECT_LT(clock.now, 100);
        Flip(-1);
        EXPECT_EQ(clock.targets.size(), 1u);
    }
    ASSERT_TRUE(OpenTestGraphics());
}

TEST(AttachGraphics, DrawsIntoTheCallersWindowAndLeavesItOpen) {
    ASSERT_TRUE(OpenTestGraphics());
    const char* why = nullptr;
    TGLWindow* view = WindowDriver().Open(320, 200, "view", TGLWindowFormat{}, false, 0, &why);
    ASSERT_TRUE(view) << (why ? why : "");
    TImagePtr image = LoadImage(TPixmap::Create(2, 2, PIXEL_RGBA8888), 0);
    std::memset(image->Lock(0, true, true)->pixels, 0xFF, 2 * 2 * 4);
    for (int round = 0; round < 2; ++round) {   // the second time into the same, still open, window
        TGraphicsPtr g = AttachGraphics(view);
        ASSERT_TRUE(g) << round;
        int w, h, d, hz, flags;
        g->GetSettings(&w, &h, &d, &hz, &flags);
        EXPECT_EQ(w, 320);
        EXPECT_EQ(h, 200);
        EXPECT_EQ(flags & GFX_DOUBLEBUFFER, GFX_DOUBLEBUFFER);   // the default flags are or-ed in
        SetGraphics(g);
        EXPECT_EQ(GraphicsWidth(), 320);
        EXPECT_EQ(CountLitPixels(0, 0, 320, 200), 0);             // starts cleared
        SetColor(10, 200, 30);
        DrawRect(300, 190, 20, 10);                               // the bottom-right corner
        DrawImage(image, 0, 0);
        Flip(0);
        EXPECT_EQ(ReadPixel(319, 199), 0x0AC81Eu) << round;
        EXPECT_EQ(ReadPixel(1, 1), 0x0AC81Eu) << round;
        EXPECT_EQ(CountLitPixels(0, 0, 320, 200), 200 + 4) << round;
        CloseGraphics(g);
        EXPECT_EQ(CurrentGraphics(), nullptr);
        int vw = 0, vh = 0;
        EXPECT_TRUE(WindowDriver().Size(view, &vw, &vh));                // the window is still there
        EXPECT_EQ(vw, 320);
    }
    WindowDriver().Close(view);
    image.reset();
    ASSERT_TRUE(OpenTestGraphics());
    DrawRect(0, 0, 2, 2);
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 4);
}
