// A system clock the audio tests set by hand, so the mixer's start alignment is known.
#pragma once

#include <atomic>

#include "platform/system.h"

struct TestClock : TSystemDriver {
    std::atomic<int> now{100000};
    void PollEvents() override {}
    int MilliSecs() override { return now.load(); }
    void Delay(int) override {}
};

// Installs a TestClock for the life of the object.
struct ScopedTestClock {
    TestClock clock;
    ScopedTestClock() { SetSystemDriver(&clock); }
    ~ScopedTestClock() { SetSystemDriver(nullptr); }
    void advance(int ms) { clock.now += ms; }
};
