// Where events and time come from: the events-and-clock part of a platform (platform.h).
// The desktop binding, the headless platform and the scripted runner's virtual clock and
// keyboard all implement it; tests put in fakes of their own.
#pragma once

#include <cstdint>

struct TSystemDriver {
    virtual ~TSystemDriver() = default;
    // Takes in every pending system event without waiting, emitting application events (input.h).
    virtual void PollEvents() = 0;
    // Milliseconds since the machine started, as MilliSecs() reports them.
    virtual int MilliSecs() = 0;
    // Sleeps; never called with ms <= 0.
    virtual void Delay(int ms) = 0;
    // Microseconds on the clock MilliSecs reads, not wrapped: the fine reading a frame log takes.
    virtual int64_t MicroSecs() { return int64_t{static_cast<uint32_t>(MilliSecs())} * 1000; }
    // Waits until MilliSecs reads `target`, or for `longest` ms when the target is further
    // ahead (the clock was set back since it was taken); returns at once when it is already
    // there. Drivers with a fine clock land on the millisecond's very start; this one sleeps
    // the whole milliseconds with Delay.
    virtual void DelayUntil(int target, int longest) {
        int left = static_cast<int>(static_cast<uint32_t>(target) - static_cast<uint32_t>(MilliSecs()));
        if (left > 0) Delay(left < longest ? left : longest);
    }
};

// Puts driver in front of the installed platform's events and clock (not owned), for
// PollSystem, MilliSecs and Delay; nullptr goes back to the installed platform's own.
void SetSystemDriver(TSystemDriver* driver);
// The driver PollSystem, MilliSecs and Delay use now.
TSystemDriver* GetSystemDriver();

// A millisecond count since boot as MilliSecs reports it: its low 32 bits, so it wraps
// instead of sticking at the largest int.
inline int WrapMilliSecs(uint64_t milliseconds) {
    return static_cast<int>(static_cast<uint32_t>(milliseconds));
}
