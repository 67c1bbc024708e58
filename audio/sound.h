// Sounds and channels over the software mixer: what the game calls (LoadSound, PlaySound), the
// sound, channel and driver classes behind those calls, and the start of the audio services.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "audio/mixora.h"

struct TSound;
struct TChannel;
struct TAudioSample;
using TSoundPtr = std::shared_ptr<TSound>;
using TChannelPtr = std::shared_ptr<TChannel>;

// Starts the audio services, the mixer timed by clock (none: the platform's MilliSecs as the
// system driver installed now gives it); false when there is no output at all (headless). The
// system output opens on a thread of its own while the caller goes on: sounds load and play
// meanwhile and are heard once the device pulls; should it find no device, the services stop
// at the next audio call. Without audio services LoadSound returns none, PlaySound(none) returns
// none and every channel call does nothing.
bool StartAudio(TAudioOutputMode mode = TAudioOutputMode::System, TMilliSecsClock clock = nullptr);
// Stops the audio services (mxo_Close); also registered to run at exit.
void StopAudio();
// Mixes frames 44100 Hz stereo frames into out (Manual mode; silence otherwise).
void MixAudioFrames(int16_t* out, int frames);

// A sound; flags non-zero loops it. None when the file does not load or the audio services
// are not running. A sound plays its sample's bytes where they lie and keeps the sample alive.
TSoundPtr LoadSound(const std::string& url, int flags = 0);                        // "incbin::sound1.wav"
TSoundPtr LoadSound(const std::shared_ptr<TAudioSample>& sample, int flags = 0);   // leave sample unchanged
// Plays on channel if given, else on a new channel; the channel that plays, or none.
TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
// Like PlaySound, but the channel starts paused.
TChannelPtr CueSound(const TSoundPtr& sound, const TChannelPtr& channel = nullptr);
// An idle channel that can take settings before anything plays on it, or none.
TChannelPtr AllocChannel();
// Stops what the channel plays.
void StopChannel(const TChannelPtr& channel);
// 1 while the channel plays once, loops or is paused; 0 when it is idle, stopped or none.
int ChannelPlaying(const TChannelPtr& channel);
// Change how the channel sounds, from the mixer's next block on.
void SetChannelVolume(const TChannelPtr& channel, float volume);   // 1.0 as loaded
void SetChannelPan(const TChannelPtr& channel, float pan);         // -1 full left .. 1 full right
void SetChannelDepth(const TChannelPtr& channel, float depth);     // negative inverts the right side
void SetChannelRate(const TChannelPtr& channel, float rate);       // 1.0 as recorded
void PauseChannel(const TChannelPtr& channel);                     // holds a playing channel still
void ResumeChannel(const TChannelPtr& channel);                    // lets it go on

struct TSound {
    virtual ~TSound() = default;
    // Starts the sound, on channel if given; the channel that plays, or none.
    virtual TChannelPtr Play(const TChannelPtr& channel) = 0;
    // Like Play, but the channel starts paused.
    virtual TChannelPtr Cue(const TChannelPtr& channel) = 0;

    // A sound, flags non-zero looping it; none when nothing loads it or there is no audio driver.
    static TSoundPtr Load(const std::string& url, int flags);                       // from a path
    static TSoundPtr Load(const std::shared_ptr<TAudioSample>& sample, int flags);  // from a sample
};

struct TChannel {
    virtual ~TChannel() = default;
    virtual void Stop() = 0;                         // StopChannel
    virtual void SetPaused(bool paused) = 0;         // PauseChannel, ResumeChannel
    virtual void SetVolume(float volume) = 0;        // SetChannelVolume
    virtual void SetPan(float pan) = 0;              // SetChannelPan
    virtual void SetDepth(float depth) = 0;          // SetChannelDepth
    virtual void SetRate(float rate) = 0;            // SetChannelRate
    virtual bool Playing() = 0;                      // ChannelPlaying
};

struct TAudioDriver {
    virtual ~TAudioDriver() = default;
    // A playable sound made from a loaded sample, or none; flags non-zero loops it.
    virtual TSoundPtr CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags) = 0;
    // An idle channel, or none.
    virtual TChannelPtr AllocChannel() = 0;
};

// A sound holding one reference to a mixer sample; voices still playing it keep the data alive.
struct TMixoraSound : TSound {
    explicit TMixoraSound(mixora::sample* sample) : sample(sample) {}   // takes over one reference
    ~TMixoraSound() override;                                            // drops it
    TChannelPtr Play(const TChannelPtr& channel) override;               // mxo_PlaySound
    TChannelPtr Cue(const TChannelPtr& channel) override;                // mxo_PlaySound, paused

    mixora::sample* sample;

private:
    TChannelPtr Start(const TChannelPtr& channel, int paused);
};

// A channel named by its handle; dropping the object does not stop the channel.
struct TMixoraChannel : TChannel {
    explicit TMixoraChannel(int handle) : handle(handle) {}   // the channel named by handle
    // The channel operations, each on the voice the handle names (nothing when it names none).
    void Stop() override;
    void SetPaused(bool paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetDepth(float depth) override;
    void SetRate(float rate) override;
    bool Playing() override;

    int handle;
};

// The driver over the mixer, installed by StartAudio when the mixer's output opens.
struct TMixoraAudioDriver : TAudioDriver {
    // A sound whose mixer sample plays the loaded bytes in place (mxo_CreateSoundOver).
    TSoundPtr CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags) override;
    TChannelPtr AllocChannel() override;   // mxo_AllocChannel
};

// The installed driver, or none while the audio services are stopped.
TAudioDriver* AudioDriver();
