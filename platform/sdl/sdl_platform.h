// The SDL2 platform: SDL's events and the boot clock, SDL windows with OpenGL contexts, and
// SDL's audio output. The only place in the engine that knows SDL.
#pragma once

#include "platform/platform.h"

// SDL events in, application events out; the machine's boot clock. SIGHUP, like SIGTERM and
// SIGINT, becomes a quit request (EVENT_APPTERMINATE).
TSystemDriver* SDLSystemDriver();
// Windows and OpenGL contexts made through SDL's video subsystem.
TWindowDriver* SDLWindowDriver();
// When the connection to the X display breaks (the server gone, the window killed), the
// process calls finish (nullptr: nothing), says "PROGRAM: lost the connection to the display
// NAME" and ends at once with status 1, without its exit handlers, which would wait on the lost
// display forever. finish must not use the display.
void OnDisplayLost(void (*finish)());
// SDL's default audio output device.
TAudioOutputDriver* SDLAudioOutputDriver();

// All three SDL parts: what a desktop program installs.
inline TPlatform SDLPlatform() { return {SDLSystemDriver(), SDLWindowDriver(), SDLAudioOutputDriver()}; }

// The key code (input.h) for an SDL scancode, 0 for keys that have none.
int KeyCodeForScancode(int scancode);

// Switches the window with this SDL window id (0: the one opened last) into desktop full screen,
// hiding the pointer, or back to the size and place it had. F11 and Alt+Enter do this.
void ToggleFullscreen(unsigned windowId);

// Starts SDL's game controller support: pads plugged in now or at any time later press the
// keys the game reads (shoulders and triggers the wings' Left and Right, A and Start Space),
// sharing each key with the keyboard. False (and no pads) when SDL cannot start it.
bool StartGamepads();
// The game controllers open now.
int GamepadCount();
