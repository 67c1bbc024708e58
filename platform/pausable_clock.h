// A system driver in front of another whose clock can be held for a pause: the time it is
// held is taken out of every reading after it, so the game's clock goes on from where it
// stood. While held it still runs, for whatever paces the held frames.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/system.h"

class TPausableClockDriver : public TSystemDriver {
public:
    // Serves inner's events and clock (not owned), holding nothing yet.
    explicit TPausableClockDriver(TSystemDriver* inner) : inner_(inner) {}

    // Holds the clock (true) or lets it go on (false), from the game thread; holding twice
    // or letting go of a clock not held does nothing.
    void Hold(bool held);
    // The milliseconds held so far, all pauses together (wrapping at 32 bits).
    uint32_t HeldTime() const { return held_.load(std::memory_order_relaxed); }

    // The inner driver's events.
    void PollEvents() override { inner_->PollEvents(); }
    // The inner driver's clock less the time held (read on the game and the audio thread).
    int MilliSecs() override;
    // The inner driver's sleep.
    void Delay(int ms) override { inner_->Delay(ms); }
    // The inner driver's fine clock as it is: a frame log's times are the real ones.
    int64_t MicroSecs() override { return inner_->MicroSecs(); }
    // The inner driver's precise wait, for the same moment on its clock.
    void DelayUntil(int target, int longest) override;

private:
    TSystemDriver* const inner_;
    std::atomic<uint32_t> held_{0};
    bool holding_ = false;
    int heldSince_ = 0;   // the inner clock's reading when the hold began
};
