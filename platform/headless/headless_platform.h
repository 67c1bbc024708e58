// The headless platform: no display, no audio device, no system events; a monotonic clock
// and a real sleep. Programs that need no window run on it anywhere, and it is what a program
// gets that installs no platform.
#pragma once

#include "platform/platform.h"

// Why the headless platform opens no window.
inline constexpr const char* kHeadlessNoWindow = "no display: the headless platform has no windows";

// HeadlessPlatform() itself is declared in platform.h: the core services start on it.
