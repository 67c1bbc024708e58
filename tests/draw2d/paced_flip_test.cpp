// A paced flip has the frame drawn before it waits, so a frame that takes the renderer a
// while still shows on its slot instead of that while after it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "draw2d/graphics.h"
#include "platform/input.h"
#include "platform/system.h"

namespace {

// A clock that moves only when told to, or when a flip waits on it.
struct TFrameClock : TSystemDriver {
    int now = 1000;
    void PollEvents() override {}
    int MilliSecs() override { return now; }
    void Delay(int ms) override { now += ms; }
    void DelayUntil(int target) override {
        if (target > now) now = target;
    }
};

struct TOneWindow : TGraphics {
    TGraphicsDriver* driver;
    explicit TOneWindow(TGraphicsDriver* d) : driver(d) {}
    TGraphicsDriver* Driver() override { return driver; }
    void GetSettings(int* width, int* height, int* depth, int* hz, int* flags) override {
        *width = 640, *height = 480, *depth = 0, *hz = 60, *flags = 0;
    }
    void Close() override {}
};

// Like a software renderer: what a frame asked for is drawn only when it must be (when the
// frame is finished, or at the latest when it is presented), and that takes drawMs.
struct TDeferredRenderer : TGraphicsDriver {
    TFrameClock* clock = nullptr;
    int drawMs = 0;
    bool owed = false;
    std::vector<int> shown;   // when each frame reached the window
    TGraphicsPtr CreateGraphics(int, int, int, int, int) override { return std::make_shared<TOneWindow>(this); }
    void SetGraphics(const TGraphicsPtr&) override {}
    void FinishFrame() override {
        if (owed) clock->now += drawMs;
        owed = false;
    }
    void Flip(int) override {
        FinishFrame();
        shown.push_back(clock->now);
        owed = true;   // the next frame's drawing
    }
};

// Runs frames of 2 ms of game work each on a renderer that takes drawMs to draw them; the
// times they were shown, from the start.
std::vector<int> ShownTimes(int drawMs, int frames) {
    TFrameClock clock;
    TDeferredRenderer renderer;
    renderer.clock = &clock;
    renderer.drawMs = drawMs;
    TSystemDriver* real = GetSystemDriver();
    SetSystemDriver(&clock);
    SetGraphicsDriver(&renderer, 0);
    const int start = clock.now;
    Graphics(640, 480, 0, 60, 0);
    for (int frame = 0; frame < frames; ++frame) {
        clock.now += 2;
        Flip(-1);
    }
    EndGraphics();
    SetGraphicsDriver(nullptr, 0);
    SetSystemDriver(real);
    std::vector<int> shown;
    for (int t : renderer.shown) shown.push_back(t - start);
    return shown;
}

}  // namespace

TEST(PacedFlip, DrawsTheFrameBeforeWaitingSoItShowsOnItsSlot) {
    EXPECT_EQ(ShownTimes(0, 4), (std::vector<int>{16, 33, 50, 66}));
    // 10 ms of drawing fits in the slot: the frames still show at 16, 33, 50...
    EXPECT_EQ(ShownTimes(10, 4), (std::vector<int>{16, 33, 50, 66}));
    // 20 ms does not: each frame shows as soon as it is drawn, and the pacer keeps to its
    // slots as it does for any late frame.
    EXPECT_EQ(ShownTimes(20, 3), (std::vector<int>{16, 38, 60}));
}
