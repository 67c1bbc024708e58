// The system's audio output: 44100 Hz, 16-bit signed, stereo, pulled in blocks on the output's
// own thread. These forward to the audio part of the installed platform (platform.h); the
// headless platform has no device.
#pragma once

#include <cstdint>

// Fills frames stereo frames (2 * frames int16 values) at out; called on the audio thread.
using TAudioFeed = void (*)(void* context, int16_t* out, int frames);

// Opens the default output and starts pulling; false when there is no audio device.
bool OpenAudioOutput(TAudioFeed feed, void* context);
// Stops pulling (waiting for a block being filled) and closes the output.
void CloseAudioOutput();
