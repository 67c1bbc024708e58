// Flip(-1) paces the frames to the slots of the rate given to Graphics on the system clock.
// A paced flip has the frame drawn before it waits, so a frame that takes the renderer a while
// still shows on its slot instead of that while after it; the present hooks run at the swap.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "draw2d/graphics.h"
#include "support/fake_platform.h"

namespace {

// Like a software renderer: what a frame asked for is drawn only when the frame is finished,
// and that takes drawMs (the first frame asks for nothing).
struct TDeferredWindow : TGraphics {
    TGraphicsDriver* driver = nullptr;
    TFakeClock* clock = nullptr;
    int drawMs = 0, frames = 0;
    std::vector<int> shown;   // when each frame reached the window, from the clock's start
    TGraphicsDriver* Driver() override { return driver; }
    void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) override {
        *width = 640, *height = 480, *depth = 0, *hz = 60, *flags = 0;
    }
    void Close() override {}
    bool FinishFrame() override {
        if (frames++) clock->Advance(drawMs);
        return true;
    }
    void Swap(int) override { shown.push_back(clock->Elapsed()); }
};

struct TDeferredRenderer : TGraphicsDriver {
    std::shared_ptr<TDeferredWindow> window = std::make_shared<TDeferredWindow>();
    TGraphicsPtr CreateGraphics(int, int, int, int, int) override { return window; }
    void SetGraphics(const TGraphicsPtr&) override {}
};

// The present hooks stay for the program's life: this one logs while a test watches.
TFakeClock* watchedClock = nullptr;
std::vector<int> hooked;

// Runs frames of work[i] ms of game work each, on a clock starting at `start`, on a renderer
// that takes drawMs to draw them; the times they were shown, from the start.
std::vector<int> ShownTimes(int start, int drawMs, const std::vector<int>& work) {
    static bool hookAdded = false;
    if (!hookAdded) {
        hookAdded = true;
        AddPresentHook([] {
            if (watchedClock) hooked.push_back(watchedClock->Elapsed());
        });
    }
    TFakeClock clock(start);
    TDeferredRenderer renderer;
    renderer.window->driver = &renderer;
    renderer.window->clock = &clock;
    renderer.window->drawMs = drawMs;
    SetGraphicsDriver(&renderer, 0);
    Graphics(640, 480, 0, 60, 0);
    watchedClock = &clock;
    hooked.clear();
    for (int ms : work) {
        clock.Advance(ms);
        Flip(-1);
    }
    Flip(0);   // at once, paced or not
    watchedClock = nullptr;
    EXPECT_EQ(hooked, renderer.window->shown) << "the present hooks run as the frame is handed over";
    EXPECT_TRUE(clock.sleeps.empty()) << "the pacer waits precisely, with no coarse sleep besides";
    EndGraphics();
    SetGraphicsDriver(nullptr, 0);
    return renderer.window->shown;
}

}  // namespace

TEST(PacedFlip, ShowsTheSixtyHertzSlotsWithoutDriftRightAcrossTheClocksWrap) {
    std::vector<int> shown = ShownTimes(INT_MAX - 20, 0, std::vector<int>(6000, 7));
    EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 4), (std::vector<int>{16, 33, 50, 66}));
    EXPECT_EQ(shown[5999], 100000);   // 6000 frames are exactly 100 seconds
    EXPECT_EQ(shown.back(), 100000);  // and Flip(0) does not wait
}

TEST(PacedFlip, DrawsTheFrameBeforeWaitingSoItShowsOnItsSlot) {
    const std::vector<int> work(4, 2);
    // 10 ms of drawing fits in the slot: the paced frames show when undrawn ones would.
    std::vector<int> drawn = ShownTimes(1000, 10, work), undrawn = ShownTimes(1000, 0, work);
    drawn.pop_back(), undrawn.pop_back();   // the last Flip(0) does not wait for the drawing
    EXPECT_EQ(drawn, undrawn);
    // 20 ms does not: each frame shows as soon as it is drawn, and the pacer keeps to its
    // slots as it does for any late frame.
    EXPECT_EQ(ShownTimes(1000, 20, {2, 2, 2}), (std::vector<int>{16, 38, 60, 80}));
}

TEST(PacedFlip, ALateFrameOrALongPauseShowsAtOnceAndTheNextGetsAWholeSlot) {
    for (int late : {40, 3000}) {
        std::vector<int> shown = ShownTimes(0, 0, {3, late, 1});
        EXPECT_EQ(shown[1], 16 + late) << late;
        EXPECT_EQ(shown[2] - shown[1], 16) << late << ": no burst to catch up";
    }
}

TEST(PacedFlip, AClockSetBackCostsAtMostOneFramesWait) {
    // Set back half a second between two frames: the pacing starts again where the clock is.
    EXPECT_EQ(ShownTimes(0, 0, {3, -500, 1, 1}), (std::vector<int>{16, -484, -468, -451, -451}));
    // Set back an hour while a frame is drawn: its wait ends a frame later.
    EXPECT_EQ(ShownTimes(0, -3600000, {3, 3})[1], 36 - 3600000);
}

TEST(FramePacer, TenHoursOfFramesStayPaced) {
    // 2.2 million frames at 60 Hz is over ten hours: the thousandths-times-hz accumulator is
    // past the 32-bit range, and every frame must still wait for its slot.
    TFramePacer pacer;
    int now = 0, unpaced = 0, frames = 2200000;
    pacer.Start(now, 60);
    for (int i = 0; i < frames; ++i) {
        int wait = pacer.Wait(now += 4);
        unpaced += (wait == 0);
        now += wait;
    }
    EXPECT_EQ(unpaced, 0);
    EXPECT_GT(pacer.frameTicks, int64_t{INT_MAX});
    EXPECT_EQ(MilliSecsSince(pacer.frameStart, now), static_cast<int>(int64_t{frames} * 1000 / 60));
}
