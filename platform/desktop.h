// The desktop platform of this build: SDL's on Linux (platform/sdl/), the Win32 API's on
// Windows (platform/win32/). What the desktop game's entry and the runner's pictures need of
// it; each desktop backend defines these.
#pragma once

#include "platform/platform.h"

// The desktop's window, keyboard and pads, clock and sound: what a desktop program installs.
TPlatform DesktopPlatform();
// When the connection to the display breaks (the X server gone, the window killed), the
// process calls finish (nullptr: nothing), says "PROGRAM: lost the connection to the display
// NAME" and ends at once with status 1, without its exit handlers, which would wait on the lost
// display forever. finish must not use the display. Systems whose display cannot be lost
// ignore it.
void OnDisplayLost(void (*finish)());
// Starts gamepad support: pads plugged in now or at any time later press the keys the game
// reads (shared_keys.h), sharing each key with the keyboard. False (and no pads) when the
// system cannot start it.
bool StartGamepads();
