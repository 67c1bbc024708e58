// The system's audio output: 44100 Hz, 16-bit signed, stereo, pulled in blocks on the output's
// own thread. These forward to the audio part of the installed platform (platform.h); the
// headless platform has no device.
#pragma once

#include <cstdint>

// Fills frames stereo frames (2 * frames int16 values) at out; called on the audio thread.
using TAudioFeed = void (*)(void* context, int16_t* out, int frames);

// Opens the default output and starts pulling; false when there is no audio device. The audio
// services open the installed output on a thread of their own while the main thread goes on
// starting the window (an output's Open must not touch what the main thread starts meanwhile),
// and close it on the main thread once that thread has ended.
bool OpenAudioOutput(TAudioFeed feed, void* context);
// Stops pulling (waiting for a block being filled) and closes the output.
void CloseAudioOutput();
