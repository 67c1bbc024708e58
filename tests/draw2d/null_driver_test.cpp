// The null plane driver: graphics without a window, the drawing state kept exactly as the
// OpenGL driver keeps it, paced flips, and images that load but make no textures.
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
#include "platform/input.h"
#include "platform/system.h"

namespace {

// A clock that only moves when told to, or when Flip sleeps on it.
struct TStillClock : TSystemDriver {
    int now = 0;
    std::vector<int> sleeps;
    void PollEvents() override {}
    int MilliSecs() override { return now; }
    void Delay(int ms) override {
        sleeps.push_back(ms);
        Advance(ms);
    }
    void Advance(int ms) { now = static_cast<int>(static_cast<unsigned>(now) + static_cast<unsigned>(ms)); }
};

}  // namespace

TEST(NullPlaneDriver, OpensGraphicsWithoutAWindowAndRemembersTheirSettings) {
    StartDrawLayer(NullPlaneDriver());
    EndGraphics();                                 // whatever an earlier test left open
    int before = GraphicsSeq();
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(GetGraphicsDriver(), NullPlaneDriver());
    EXPECT_EQ(GraphicsSeq(), before + 1);
    EXPECT_EQ(GraphicsWidth(), 640);
    EXPECT_EQ(GraphicsHeight(), 480);
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsHertz(), 60);
    EXPECT_EQ(GraphicsFlags(), GFX_DOUBLEBUFFER);
    EXPECT_EQ(GetBlend(), BLEND_MASK);             // the defaults of a new graphics
    int x, y, w, h;
    GetViewport(&x, &y, &w, &h);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, 640, 480}));
    uint8_t pixel[4];
    EXPECT_FALSE(ReadFramePixels(0, 0, 1, 1, pixel));   // there is no picture
    EXPECT_FALSE(CurrentPlaneDriver()->GrabPixmap(0, 0, 1, 1));
    EXPECT_EQ(GraphicsError(), "");

    ASSERT_TRUE(Graphics(320, 200, 0, 0, 0));     // opening again closes the first
    EXPECT_EQ(GraphicsSeq(), before + 3);
    EXPECT_EQ(GraphicsWidth(), 320);
    EndGraphics();
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(CurrentGraphics(), nullptr);
}

TEST(NullPlaneDriver, FlipPacesToTheSixtyHertzSlotsLikeTheRealOne) {
    StartDrawLayer(NullPlaneDriver());
    TStillClock clock;
    clock.now = INT_MAX - 30;                      // the clock wraps on the way
    TSystemDriver* real = GetSystemDriver();
    SetSystemDriver(&clock);
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    for (int frame = 0; frame < 4; ++frame) {
        clock.Advance(3);
        Flip(-1);
    }
    clock.Advance(50);                             // late: presents at once
    Flip(-1);
    Flip(0);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{13, 14, 14, 13}));
    EndGraphics();
    SetSystemDriver(real);
}

namespace {

// A clock with a precise wait of its own: Flip asks it for the pacer's target reading.
struct TTargetClock : TStillClock {
    std::vector<int> targets;   // relative to the start
    int start = 0;
    void DelayUntil(int target) override {
        targets.push_back(MilliSecsSince(start, target));
        if (MilliSecsSince(now, target) > 0) now = target;
    }
};

// The clock a present hook reads while a test watches (the hook stays for the program's life).
TTargetClock* watchedClock = nullptr;
std::vector<int> presented;

}  // namespace

TEST(NullPlaneDriver, FlipWaitsPreciselyForThePacersTargetsAndThenRunsThePresentHooks) {
    StartDrawLayer(NullPlaneDriver());
    TTargetClock clock;
    clock.now = clock.start = INT_MAX - 20;       // the clock wraps on the way
    watchedClock = &clock;
    AddPresentHook([] {
        if (watchedClock) presented.push_back(MilliSecsSince(watchedClock->start, watchedClock->now));
    });
    TSystemDriver* real = GetSystemDriver();
    SetSystemDriver(&clock);
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    for (int work : {3, 3, 15, 40, 1, 2}) {         // the fourth frame is late
        clock.Advance(work);
        Flip(-1);
    }
    Flip(0);
    EXPECT_EQ(clock.targets, (std::vector<int>{16, 33, 50, 106, 123}));
    EXPECT_TRUE(clock.sleeps.empty());             // no coarse sleep besides
    // After the wait, once per Flip of any kind (new graphics first show two blank frames);
    // the late frame presents when it is ready and the next one gets a whole slot from there.
    EXPECT_EQ(presented, (std::vector<int>{0, 0, 16, 33, 50, 90, 106, 123, 123}));
    EndGraphics();
    SetSystemDriver(real);
    watchedClock = nullptr;
}

TEST(NullPlaneDriver, ImagesLoadWithMasksAndHandlesButMakeNoTextures) {
    StartDrawLayer(NullPlaneDriver());
    ASSERT_TRUE(Graphics(640, 480, 0, 60, 0));
    TPixmapPtr pm = TPixmap::Create(6, 4, PIXEL_RGB888);
    pm->WritePixel(1, 1, 0xFFFFFFFFu);
    SetMaskColor(0, 0, 0);
    AutoMidHandle(1);
    TImagePtr image = LoadImage(pm, IMAGE_MASKED);
    AutoMidHandle(0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->handle_x, 3.0f);
    EXPECT_EQ(image->handle_y, 2.0f);
    TPixmapPtr masked = image->Lock(0, true, false);
    EXPECT_EQ(masked->ReadPixel(1, 1) >> 24, 0xFFu);   // kept
    EXPECT_EQ(masked->ReadPixel(5, 3) >> 24, 0u);      // the mask colour became transparent
    TImageFramePtr frame = image->Frame(0);
    ASSERT_TRUE(frame);                            // a frame to draw, holding no texture
    EXPECT_EQ(image->Frame(0), frame);
    DrawImage(image, 10, 10);
    EndGraphics();
}
