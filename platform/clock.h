// The millisecond clock the game and the pacer read, from the installed platform's system
// driver (system.h): the desktop's boot clock, or the scripted runner's virtual one.
#pragma once

#include <cstdint>

// Milliseconds since the machine started, wrapping at 32 bits.
int MilliSecs();
// Sleeps for ms milliseconds; nothing for ms <= 0.
void Delay(int ms);
// Microseconds on the clock MilliSecs reads (not wrapped), for logs that need the fine time.
int64_t MicroSecs();
// Waits until MilliSecs reads target, as precisely as the installed clock can, but never
// longer than `longest` ms (a clock set back meanwhile); nothing when it already reads target.
void DelayUntil(int target, int longest);

// Difference of two MilliSecs readings, right across the 32-bit wrap.
inline int MilliSecsSince(int earlier, int later) {
    return static_cast<int>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}
