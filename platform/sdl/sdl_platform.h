// The SDL2 platform: SDL's events and the boot clock, SDL windows with OpenGL contexts, and
// SDL's audio output. The only place in the engine that knows SDL.
#pragma once

#include "platform/desktop.h"

// SDL events in, application events out; the machine's boot clock. SIGHUP, like SIGTERM and
// SIGINT, becomes a quit request (EVENT_APPTERMINATE).
TSystemDriver* SDLSystemDriver();
// Windows and OpenGL contexts made through SDL's video subsystem.
TWindowDriver* SDLWindowDriver();
// SDL's default audio output device.
TAudioOutputDriver* SDLAudioOutputDriver();

// All three SDL parts: what a desktop program installs.
inline TPlatform SDLPlatform() { return {SDLSystemDriver(), SDLWindowDriver(), SDLAudioOutputDriver()}; }

// The key code (input.h) for an SDL scancode, 0 for keys that have none.
int KeyCodeForScancode(int scancode);

// Switches the window with this SDL window id (0: the one opened last) into desktop full screen,
// hiding the pointer, or back to the size and place it had. F11 and Alt+Enter do this.
void ToggleFullscreen(unsigned windowId);

// The game controllers open now.
int GamepadCount();
