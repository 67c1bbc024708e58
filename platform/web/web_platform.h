// The web platform, for the game built as WebAssembly and played on a page: the browser's key,
// focus and gamepad events and its clock, one WebGL context on the page's canvas, and Web
// Audio. Everything runs on the page's one thread, the loop included: the browser calls the
// game for each animation frame and the game never blocks. The only place that knows
// emscripten's browser interfaces.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Key, focus and gamepad events in (queued as they come, emitted at the next poll), application
// events out; the clock reads the page's time since the epoch, wrapped as MilliSecs wraps, and
// never waits (RunWebLoop paces the passes).
TSystemDriver* WebSystemDriver();
// The page's canvas (#canvas) with a WebGL 1 context; its hidden shared context is that same one.
TWindowDriver* WebWindowDriver();
// Web Audio pulling the feed on the page's thread, started by the first key or click as
// browsers require; the page shows its hint until then.
TAudioOutputDriver* WebAudioOutputDriver();

// All three web parts: what the page's program installs.
inline TPlatform WebPlatform() { return {WebSystemDriver(), WebWindowDriver(), WebAudioOutputDriver()}; }

// The key code (input.h) for a KeyboardEvent.code ("KeyZ", "ArrowLeft"...), 0 for keys that
// have none: keys by their place on the keyboard, as on the desktop.
int KeyCodeForDomCode(const char* code);

// Calls step from the browser's animation frames, 60 times a second as Flip paces the desktop
// (never more than once a frame), until it returns false; returns at once (the browser then
// owns the loop). After each step the page's Module.onPass(step number from 1, milliseconds
// the step took, whether it was the last) is called, when it has one; done runs once after
// the last step.
void RunWebLoop(bool (*step)(), void (*done)());

// Switches the page's stage in or out of full screen. F11 and Alt+Enter do this, so does the
// page's button.
void ToggleWebFullscreen();

// Instead of pulling the feed, Web Audio plays what is queued here (the runner's mixing, one
// block a pass), frames stereo frames of 16-bit samples.
void QueueWebAudio(const int16_t* samples, int frames);
// From now on Web Audio plays only what QueueWebAudio hands it.
void UseQueuedWebAudio();
