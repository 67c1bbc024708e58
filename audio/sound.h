// Sounds and channels over the software mixer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct TSound;
struct TChannel;
struct TAudioSample;
using TSoundPtr = std::shared_ptr<TSound>;
using TChannelPtr = std::shared_ptr<TChannel>;

// How the audio services start: with the system's audio output (the game), or with no
// device, mixed on demand by MixAudioFrames (the scripted runner's --audio).
enum class TAudioOutputMode { System, Manual };
// Starts the audio services; false when no output could be opened. Without audio services
// LoadSound returns none, PlaySound(none) returns none and every channel call does nothing.
bool StartAudio(TAudioOutputMode mode = TAudioOutputMode::System);
void StopAudio();     // mxo_Close; also registered to run at exit
// Mixes frames 44100 Hz stereo frames into out (Manual mode; silence otherwise).
void MixAudioFrames(int16_t* out, int frames);

// A sound from a path ("incbin::sound1.wav") or an audio sample; flags non-zero loops it.
// None when the file does not load or the audio services are not running.
TSoundPtr LoadSound(const std::string& url, int flags = 0);
TSoundPtr LoadSound(const std::shared_ptr<TAudioSample>& sample, int flags = 0);
// Plays on channel if given, else on a new channel; the channel that plays, or none.
TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
TChannelPtr CueSound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
TChannelPtr AllocChannel();
void StopChannel(const TChannelPtr& channel);
int ChannelPlaying(const TChannelPtr& channel);
void SetChannelVolume(const TChannelPtr& channel, float volume);
void SetChannelPan(const TChannelPtr& channel, float pan);
void SetChannelDepth(const TChannelPtr& channel, float depth);
void SetChannelRate(const TChannelPtr& channel, float rate);
void PauseChannel(const TChannelPtr& channel);
void ResumeChannel(const TChannelPtr& channel);
