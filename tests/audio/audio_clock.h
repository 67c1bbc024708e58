// A clock the audio tests set by hand, so the mixer's start alignment is known.
#pragma once

#include <atomic>
#include <memory>

#include "audio/mixer.h"

struct TMixerClock {
    std::shared_ptr<std::atomic<int>> now = std::make_shared<std::atomic<int>>(100000);
    // The clock as the mixer reads it.
    TMilliSecsClock Source() const {
        return [now = now] { return now->load(); };
    }
    void Advance(int ms) { *now += ms; }
};
