// The mixer's plain functions: one process-wide mixer, its output and the channel handle table.
// A channel handle is slot + generation: the low 12 bits name a slot (1 to 4095), the rest count
// how often the slot was handed out, so a handle kept after its slot was reused names nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "audio/mixer.h"

// How the audio services start: with the system's audio output (the game), or with no
// device, mixed on demand by MixAudioFrames (the scripted runner's --audio).
enum class TAudioOutputMode { System, Manual };

// Where the system output stands: none asked for (Manual, or closed), opening on a thread of
// its own, open and pulling, or failed to open (no device: nothing will ever pull).
enum class TAudioOutputState { None, Opening, Open, Failed };

// Opens the mixer, timed by clock, with the system output (System) or with none, mixed by
// mxo_Mix16 (Manual), and creates the channel handle table. The system output opens on a thread
// of its own, so the caller goes on at once: voices started meanwhile wait in the request ring
// until the device pulls. 0, or -1 when the installed output has no device at all (headless).
int mxo_Init(TMilliSecsClock clock, TAudioOutputMode mode = TAudioOutputMode::System);
// Waits for an output still opening, stops it, and frees the handle table and the mixer.
int mxo_Close();
// The system output's state now (game thread).
TAudioOutputState mxo_OutputState();
// Waits until the system output has finished opening; true when it is open.
bool mxo_AwaitOutput();
// A mixer sample of length frames, copied from data when given, or with length -1 an endless
// stream fed by mxo_WriteSound; none without a handle table.
mixora::sample* mxo_CreateSound(int length, int bits, int channels, int hertz, const void* data, int loop);
// A mixer sample that plays data in place while keeper keeps it alive (no copy); none without a
// handle table. 16-bit data must be in the machine's byte order.
mixora::sample* mxo_CreateSoundOver(int length, int bits, int channels, int hertz, const void* data,
                                    std::shared_ptr<const void> keeper, int loop);
// Streaming: appends up to frames frames of data to a sample made with length -1, as many as it
// has room for (kStreamFrames ahead of its voice); the frames written.
int mxo_WriteSound(mixora::sample* sample, const void* data, int frames);
// Drops the caller's reference to sample; voices still playing it keep it alive. 0.
int mxo_FreeSound(mixora::sample* sample);
// Starts sample on the channel named by handle (0: a new channel); the handle that plays, 0 if none.
int mxo_PlaySound(mixora::sample* sample, int paused, int handle);
// A new channel with nothing playing on it yet, or 0 when all 4095 are in use.
int mxo_AllocChannel();
// The status of the channel's voice (VOICE_ONCE, VOICE_LOOP, ... with VOICE_PAUSED); 0 for none.
int mxo_ChannelStatus(int handle);
// Stops the channel's voice at the next block; its voice is released when it ends. 0.
int mxo_StopChannel(int handle);
// Pauses (paused non-zero) or resumes the channel's voice if it is playing. 0.
int mxo_SetChannelPaused(int handle, int paused);
// Set a target of the channel's voice (the mixer moves toward it from the next block); volume,
// pan and depth keep their low 16 bits, as the voice holds them. 0.
int mxo_SetChannelVolume(int handle, int volume);   // 4096 = 1.0
int mxo_SetChannelPan(int handle, int pan);         // -4096 full left .. 4096 full right
int mxo_SetChannelDepth(int handle, int depth);     // 4096 = 1.0; negative inverts the right side
int mxo_SetChannelRate(int handle, int rate);       // 65536 = as recorded
// The master volume of the output, 0 to 100 (clamped): every mixed sample is scaled by
// volume / 100, truncating toward zero; at 100, the default, the samples are left untouched.
void mxo_SetMasterVolume(int volume);
// The master volume, 0 to 100.
int mxo_MasterVolume();
// Scales count 16-bit samples by volume / 100 in place (nothing at 100): the master volume's step.
void mxo_ApplyVolume(int16_t* samples, int count, int volume);
// Holds the system output (non-zero) or lets it go on (0): while held it plays silence and
// the mixer stands still, so every voice goes on from where it was. Manual mixing is never held.
void mxo_HoldOutput(int held);
// Manual mode: mixes frames stereo frames on the calling thread; false when there is no
// manual mixer (out is then left alone).
bool mxo_Mix16(int16_t* out, int frames);
// The number of channel slots in use (handed out and not yet back on the free list); 0 when closed.
int mxo_ChannelsInUse();
// The mixer, or none when closed (for the scripted runner's checks and the tests).
mixora::mixer* mxo_Mixer();
