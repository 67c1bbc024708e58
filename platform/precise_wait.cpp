// The precise wait: coarse sleeps, then the counter.
#include "platform/precise_wait.h"

// Each sleep stops kWaitWatchMicros short of the deadline, so an early wake sleeps again and
// a late one (past the deadline) returns at once; the last stretch reads the counter.
void WaitPrecisely(TWaitClock& clock, uint64_t deadline) {
    const uint64_t frequency = clock.Frequency();
    const uint64_t perMilliSec = frequency >= 1000 ? frequency / 1000 : 1;
    const uint64_t watch = frequency * kWaitWatchMicros / 1000000;
    for (uint64_t now = clock.Counter(); now < deadline; now = clock.Counter()) {
        const uint64_t left = deadline - now;
        if (left <= watch) continue;
        const uint64_t sleep = (left - watch) / perMilliSec;
        if (sleep > 0) clock.Sleep(sleep > 1000 ? 1000 : static_cast<int>(sleep));
    }
}
