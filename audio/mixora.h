// The mixer's plain functions: one process-wide mixer, its output and the channel handle table.
// A channel handle is slot + generation: the low 12 bits name a slot (1 to 4095), the rest count
// how often the slot was handed out, so a handle kept after its slot was reused names nothing.
#pragma once

#include <cstdint>

#include "audio/mixer.h"
#include "audio/sound.h"

// Opens the mixer with the system output (System) or with none, mixed by mxo_Mix16 (Manual);
// on success creates the channel handle table. 0 or -1.
int mxo_Init(TAudioOutputMode mode = TAudioOutputMode::System);
// Stops the output and frees the handle table and the mixer.
int mxo_Close();
// A mixer sample of length frames, copied from data when given; none without a handle table.
mixora::sample* mxo_CreateSound(int length, int bits, int channels, int hertz, const void* data, int loop);
int mxo_FreeSound(mixora::sample* sample);
// Starts sample on the channel named by handle (0: a new channel); the handle that plays, 0 if none.
int mxo_PlaySound(mixora::sample* sample, int paused, int handle);
int mxo_AllocChannel();
int mxo_ChannelStatus(int handle);
int mxo_StopChannel(int handle);
int mxo_SetChannelPaused(int handle, int paused);
int mxo_SetChannelVolume(int handle, int volume);
int mxo_SetChannelPan(int handle, int pan);
int mxo_SetChannelDepth(int handle, int depth);
int mxo_SetChannelRate(int handle, int rate);
// Manual mode: mixes frames stereo frames on the calling thread; false when there is no
// manual mixer (out is then left alone).
bool mxo_Mix16(int16_t* out, int frames);
// The mixer, or none when closed (for the scripted runner's checks and the tests).
mixora::mixer* mxo_Mixer();
