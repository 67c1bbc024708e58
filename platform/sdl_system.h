// The SDL binding of the system driver: SDL events in, application events out, the boot clock.
#pragma once

#include <cstdint>

#include "platform/system.h"

// The process-wide SDL driver (the default system driver).
TSystemDriver* SDLSystemDriver();

// The key code (input.h) for an SDL scancode, 0 for keys that have none.
int KeyCodeForScancode(int scancode);

// A millisecond count since boot as MilliSecs reports it: its low 32 bits, so it wraps
// instead of sticking at the largest int.
inline int WrapMilliSecs(uint64_t milliseconds) {
    return static_cast<int>(static_cast<uint32_t>(milliseconds));
}
