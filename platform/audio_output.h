// The binding to the system's audio output: 44100 Hz, 16-bit signed, stereo, pulled in blocks
// on the output's own thread.
#pragma once

#include <cstdint>

// Fills frames stereo frames (2 * frames int16 values) at out; called on the audio thread.
using TAudioFeed = void (*)(void* context, int16_t* out, int frames);

// Opens the default output and starts pulling; false when there is no audio device.
bool OpenAudioOutput(TAudioFeed feed, void* context);
void CloseAudioOutput();
