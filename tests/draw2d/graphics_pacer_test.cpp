// The software frame pacing of Flip(-1), on a fake clock.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "draw2d/graphics.h"
#include "platform/input.h"

namespace {

// Runs frames that each take workMs of drawing, sleeping as the pacer says; returns the
// clock (relative to the start) at each presentation.
std::vector<int> PresentTimes(TFramePacer& pacer, int& now, int frames, int workMs) {
    std::vector<int> times;
    for (int i = 0; i < frames; ++i) {
        now = static_cast<int>(static_cast<unsigned>(now) + static_cast<unsigned>(workMs));
        now = static_cast<int>(static_cast<unsigned>(now) + static_cast<unsigned>(pacer.Wait(now)));
        times.push_back(MilliSecsSince(pacer.frameStart, now));
    }
    return times;
}

}  // namespace

TEST(FramePacer, SixtyHertzTargetsFallAtSixteenThirtyThreeFiftySixtySix) {
    TFramePacer pacer;
    int now = 5000;
    pacer.Start(now, 60);
    EXPECT_EQ(PresentTimes(pacer, now, 4, 0), (std::vector<int>{16, 33, 50, 66}));
    EXPECT_EQ(PresentTimes(pacer, now, 2, 5), (std::vector<int>{83, 100}));
}

TEST(FramePacer, LateFrameResynchronisesWithoutCatchUpBurst) {
    TFramePacer pacer;
    int now = 0;
    pacer.Start(now, 60);
    PresentTimes(pacer, now, 1, 0);                 // presented at 16
    now += 40;                                      // a slow frame: 56, past the 33 target
    EXPECT_EQ(pacer.Wait(now), 0);
    EXPECT_EQ(pacer.frameTicks, 56 * 60);
    // The next frame gets a whole slot again rather than hurrying to make up the lost time.
    EXPECT_EQ(pacer.Wait(now), 16);
}

TEST(FramePacer, PauseOfSecondsResynchronisesInsteadOfSleeping) {
    TFramePacer pacer;
    int now = 100;
    pacer.Start(now, 60);
    PresentTimes(pacer, now, 10, 3);
    now += 3000;
    EXPECT_EQ(pacer.Wait(now), 0);
    int wait = pacer.Wait(now);
    EXPECT_GT(wait, 0);
    EXPECT_LE(wait, 17);
}

TEST(FramePacer, ManyFramesDoNotDrift) {
    TFramePacer pacer;
    int now = 0;
    pacer.Start(now, 60);
    std::vector<int> times = PresentTimes(pacer, now, 6000, 7);
    EXPECT_EQ(times.back(), 100000);               // 6000 frames are exactly 100 seconds
}

TEST(FramePacer, TenHoursOfFramesStayPaced) {
    // 2.2 million frames at 60 Hz is over ten hours: the thousandths-times-hz accumulator is
    // past the 32-bit range, and every frame must still wait for its slot.
    TFramePacer pacer;
    int now = 0;
    pacer.Start(now, 60);
    const int frames = 2200000;
    int unpaced = 0;
    for (int i = 0; i < frames; ++i) {
        now += 4;
        int wait = pacer.Wait(now);
        unpaced += (wait == 0);
        now += wait;
    }
    EXPECT_EQ(unpaced, 0);
    EXPECT_GT(pacer.frameTicks, int64_t{INT_MAX});
    EXPECT_EQ(MilliSecsSince(pacer.frameStart, now), static_cast<int>(int64_t{frames} * 1000 / 60));
}

TEST(FramePacer, ClockWrapInTheMiddleOfAFrameKeepsTheTargets) {
    TFramePacer pacer;
    int now = INT_MAX - 20;
    pacer.Start(now, 60);
    EXPECT_EQ(PresentTimes(pacer, now, 4, 2), (std::vector<int>{16, 33, 50, 66}));
    EXPECT_LT(now, 0);                             // the 32-bit clock went round
}
