// Waiting to a fine deadline. A desktop's sleep wakes when the system gets round to it, often
// a millisecond or more late; so a precise wait sleeps until shortly before its deadline and
// then watches a fine counter until the deadline comes.
#pragma once

#include <cstdint>

// A fine counter and a coarse sleep, as a platform has them.
struct TWaitClock {
    virtual ~TWaitClock() = default;
    // The counter now; it never runs backward.
    virtual uint64_t Counter() = 0;
    // Counter steps a second.
    virtual uint64_t Frequency() = 0;
    // Sleeps for at least ms milliseconds (ms > 0), perhaps longer.
    virtual void Sleep(int ms) = 0;
};

// How long before a deadline the sleeping stops and the watching starts, in microseconds:
// more than the sleep usually oversleeps.
inline constexpr int kWaitWatchMicros = 2000;

// Returns at the first counter reading at or past deadline (a Counter reading): sleeps in
// whole milliseconds while more than kWaitWatchMicros are left, then reads the counter.
void WaitPrecisely(TWaitClock& clock, uint64_t deadline);
