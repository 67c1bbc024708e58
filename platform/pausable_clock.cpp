#include "platform/pausable_clock.h"

#include "platform/clock.h"

void TPausableClockDriver::Hold(bool held) {
    if (held == holding_) return;
    holding_ = held;
    const int now = inner_->MilliSecs();
    if (held) {
        heldSince_ = now;
        return;
    }
    held_.store(HeldTime() + static_cast<uint32_t>(MilliSecsSince(heldSince_, now)), std::memory_order_relaxed);
}

int TPausableClockDriver::MilliSecs() {
    return static_cast<int>(static_cast<uint32_t>(inner_->MilliSecs()) - HeldTime());
}

void TPausableClockDriver::DelayUntil(int target, int longest) {
    inner_->DelayUntil(static_cast<int>(static_cast<uint32_t>(target) + HeldTime()), longest);
}
