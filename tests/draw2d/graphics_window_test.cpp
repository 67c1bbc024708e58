// The window: the picture kept across flips, reopening, closing, and Flip(-1) on a fake clock.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "draw2d/draw.h"
#include "draw2d/graphics.h"
#include "draw2d/state.h"
#include "platform/system.h"
#include "support/gl_fixture.h"

namespace {

// A clock that only moves when told to, or when Flip sleeps on it.
struct TFakeClock : TSystemDriver {
    int now = 0;
    std::vector<int> presented;   // clock at each sleep's end, relative to start
    int start = 0;
    void PollEvents() override {}
    int MilliSecs() override { return now; }
    void Delay(int ms) override {
        now = static_cast<int>(static_cast<unsigned>(now) + static_cast<unsigned>(ms));
        presented.push_back(static_cast<int>(static_cast<unsigned>(now) - static_cast<unsigned>(start)));
    }
};

}  // namespace

TEST(GraphicsWindow, PictureSurvivesFlips) {
    ASSERT_TRUE(OpenTestGraphics());
    SetColor(10, 200, 30);
    DrawRect(300, 200, 5, 5);
    Flip(0);
    Flip(0);
    Flip(1);
    EXPECT_EQ(ReadPixel(302, 202), 0x0AC81Eu);
    EXPECT_EQ(CountLitPixels(290, 190, 30, 30), 25);
}

TEST(GraphicsWindow, OpensAtDefaultsWithSettings) {
    ASSERT_TRUE(OpenTestGraphics());
    EXPECT_EQ(GraphicsWidth(), 640);
    EXPECT_EQ(GraphicsHeight(), 480);
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsHertz(), 60);
    EXPECT_EQ(GraphicsFlags() & GFX_DOUBLEBUFFER, GFX_DOUBLEBUFFER);
    EXPECT_EQ(GraphicsError(), "");
}

TEST(GraphicsWindow, OpeningAgainBumpsTheSequenceAndStartsClean) {
    ASSERT_TRUE(OpenTestGraphics());
    SetColor(255, 0, 0);
    DrawRect(0, 0, 640, 480);
    SetScale(3, 3);
    int before = GraphicsSeq();
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(GraphicsSeq(), before + 2);          // one for closing, one for opening
    EXPECT_EQ(CountLitPixels(0, 0, 640, 480), 0);  // a new surface, cleared
    float sx, sy;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 1);
    EXPECT_EQ(GetBlend(), BLEND_MASK);
    EXPECT_TRUE(CurrentDrawState().image_font == DrawLayerSettings().default_font);
}

TEST(GraphicsWindow, DrawingWithNoGraphicsOpenIsHarmless) {
    ASSERT_TRUE(OpenTestGraphics());
    int before = GraphicsSeq();
    EndGraphics();
    EXPECT_EQ(GraphicsSeq(), before + 1);
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(CurrentGraphics(), nullptr);
    SetColor(1, 2, 3);
    DrawRect(0, 0, 10, 10);
    DrawOval(0, 0, 10, 10);
    Cls();
    Flip(-1);
    uint8_t pixel[4];
    EXPECT_FALSE(ReadFramePixels(0, 0, 1, 1, pixel));
    ASSERT_TRUE(OpenTestGraphics());
}

TEST(GraphicsWindow, FlipMinusOnePacesToSixtyHertz) {
    ASSERT_TRUE(OpenTestGraphics());
    TFakeClock clock;
    clock.now = clock.start = INT_MAX - 40;        // the clock wraps during these frames
    TSystemDriver* real = GetSystemDriver();
    SetSystemDriver(&clock);
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    for (int frame = 0; frame < 4; ++frame) {
        clock.now += 3;                            // drawing takes 3 ms
        Flip(-1);
    }
    EXPECT_EQ(clock.presented, (std::vector<int>{16, 33, 50, 66}));
    clock.now += 50;                               // a late frame presents at once
    Flip(-1);
    EXPECT_EQ(clock.presented.size(), 4u);
    clock.now += 2;
    Flip(-1);
    EXPECT_EQ(clock.presented.back(), 66 + 50 + 16);   // a whole slot after the late one
    Flip(0);                                       // never sleeps
    EXPECT_EQ(clock.presented.size(), 5u);
    SetSystemDriver(real);
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));     // back on the real clock
}
