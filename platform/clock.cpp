#include "platform/clock.h"

#include "platform/system.h"

int MilliSecs() { return GetSystemDriver()->MilliSecs(); }

void Delay(int ms) {
    if (ms > 0) GetSystemDriver()->Delay(ms);
}

int64_t MicroSecs() { return GetSystemDriver()->MicroSecs(); }

void DelayUntil(int target, int longest) { GetSystemDriver()->DelayUntil(target, longest); }
