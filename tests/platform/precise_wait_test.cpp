// Precise waits: coarse sleeps that stop short of the deadline, then the fine counter; and
// the clocks' DelayUntil on each platform.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "platform/headless/script_system.h"
#include "platform/input.h"
#include "platform/precise_wait.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// A counter that moves only when read (by `step`) or slept on (by the sleep plus a scripted
// oversleep), recording every sleep asked for.
struct TScriptedWaitClock : TWaitClock {
    uint64_t now = 1000000;
    uint64_t frequency = 1000000;    // microseconds, unless a case says otherwise
    uint64_t step = 7;               // what one read of the counter costs
    std::vector<uint64_t> oversleeps;   // how late each sleep wakes, in counter steps
    std::vector<int> sleeps;
    uint64_t lastRead = 0;

    uint64_t Counter() override {
        lastRead = now;
        now += step;
        return lastRead;
    }
    uint64_t Frequency() override { return frequency; }
    void Sleep(int ms) override {
        uint64_t late = sleeps.size() < oversleeps.size() ? oversleeps[sleeps.size()] : 0;
        sleeps.push_back(ms);
        now += static_cast<uint64_t>(ms) * frequency / 1000 + late;
    }
};

}  // namespace

TEST(PreciseWait, SleepsToShortlyBeforeTheDeadlineThenReadsTheCounterUntilItComes) {
    const struct {
        const char* what;
        uint64_t frequency, ahead;              // the deadline, counter steps from the start
        std::vector<uint64_t> oversleeps;
        std::vector<int> sleeps;
    } cases[] = {
        {"a frame's wait, the sleep on time", 1000000, 16400, {}, {14}},
        {"the sleep wakes late but before the deadline", 1000000, 16400, {1900}, {14}},
        {"the sleep wakes past the deadline: no more waiting", 1000000, 16400, {5000}, {14}},
        {"a nanosecond counter, as SDL's on Linux", 1000000000, 16400000, {}, {14}},
        {"less than the watching time left: no sleep at all", 1000000, 1500, {}, {}},
        {"the deadline already past", 1000000, 0, {}, {}},
        {"a long wait is slept in pieces of at most a second", 1000000, 2500000, {}, {1000, 1000, 497}},
    };
    for (const auto& c : cases) {
        TScriptedWaitClock clock;
        clock.frequency = c.frequency;
        clock.oversleeps = c.oversleeps;
        const uint64_t deadline = clock.now + c.ahead;
        WaitPrecisely(clock, deadline);
        EXPECT_EQ(clock.sleeps, c.sleeps) << c.what;
        // It returned on its last reading, the first one at or past the deadline.
        EXPECT_GE(clock.lastRead, deadline) << c.what;
        if (c.oversleeps.empty() && c.ahead > 0) {
            EXPECT_LT(clock.lastRead, deadline + clock.step) << c.what;
        }
    }
}

TEST(PreciseWait, TheClocksWaitForTheirTargetMillisecond) {
    // The desktop clock never comes back before its target, and its fine reading is the
    // millisecond reading's own clock.
    TSystemDriver* sdl = SDLSystemDriver();
    for (int i = 0; i < 20; ++i) {
        int target = static_cast<int>(static_cast<uint32_t>(sdl->MilliSecs()) + 1 + i % 3);
        sdl->DelayUntil(target, 17);
        EXPECT_GE(MilliSecsSince(target, sdl->MilliSecs()), 0) << i;
    }
    int before = sdl->MilliSecs();
    int64_t micros = sdl->MicroSecs();
    int after = sdl->MilliSecs();
    int fromMicros = WrapMilliSecs(static_cast<uint64_t>(micros / 1000));
    EXPECT_GE(MilliSecsSince(before, fromMicros), 0);
    EXPECT_GE(MilliSecsSince(fromMicros, after), 0);
    sdl->DelayUntil(before, 17);   // already there: returns at once

    // The scripted runner's clock is virtual: waiting moves nothing.
    TScriptSystemDriver script(5000);
    script.BeginPass(2);
    script.DelayUntil(6000, 17);
    EXPECT_EQ(script.MilliSecs(), 5016);
    EXPECT_EQ(script.MicroSecs(), 5016000);
}
