// The SDL2 platform: SDL's events and the boot clock, SDL windows with OpenGL contexts, and
// SDL's audio output. The only place in the engine that knows SDL.
#pragma once

#include "platform/platform.h"

// SDL events in, application events out; the machine's boot clock.
TSystemDriver* SDLSystemDriver();
// Windows and OpenGL contexts made through SDL's video subsystem.
TWindowDriver* SDLWindowDriver();
// SDL's default audio output device.
TAudioOutputDriver* SDLAudioOutputDriver();

// All three SDL parts: what a desktop program installs.
inline TPlatform SDLPlatform() { return {SDLSystemDriver(), SDLWindowDriver(), SDLAudioOutputDriver()}; }

// The key code (input.h) for an SDL scancode, 0 for keys that have none.
int KeyCodeForScancode(int scancode);
