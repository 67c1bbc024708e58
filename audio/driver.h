// Sounds, channels and the audio driver that makes them; the mixer-backed ones name the mixer's
// samples and channel handles.
#pragma once

#include "audio/mixer.h"
#include "audio/sample.h"
#include "audio/sound.h"

struct TSound {
    virtual ~TSound() = default;
    // Starts the sound, on channel if given; the channel that plays, or none.
    virtual TChannelPtr Play(const TChannelPtr& channel) = 0;
    // Like Play, but the channel starts paused.
    virtual TChannelPtr Cue(const TChannelPtr& channel) = 0;

    // A sound from a file or stream url, or from a sample; flags non-zero loops it. None when
    // nothing loads it or there is no audio driver.
    static TSoundPtr Load(const std::string& url, int flags);
    static TSoundPtr Load(const TAudioSamplePtr& sample, int flags);
};

struct TChannel {
    virtual ~TChannel() = default;
    virtual void Stop() = 0;
    virtual void SetPaused(bool paused) = 0;
    virtual void SetVolume(float volume) = 0;
    virtual void SetPan(float pan) = 0;
    virtual void SetDepth(float depth) = 0;
    virtual void SetRate(float rate) = 0;
    virtual bool Playing() = 0;
};

struct TAudioDriver {
    virtual ~TAudioDriver() = default;
    virtual TSoundPtr CreateSound(const TAudioSamplePtr& sample, int flags) = 0;
    virtual TChannelPtr AllocChannel() = 0;
};

// A sound holding one reference to a mixer sample; voices still playing it keep the data alive.
struct TMixoraSound : TSound {
    explicit TMixoraSound(mixora::sample* sample) : sample(sample) {}
    ~TMixoraSound() override;
    TChannelPtr Play(const TChannelPtr& channel) override;
    TChannelPtr Cue(const TChannelPtr& channel) override;

    mixora::sample* sample;

private:
    TChannelPtr start(const TChannelPtr& channel, int paused);
};

// A channel named by its handle; dropping the object does not stop the channel.
struct TMixoraChannel : TChannel {
    explicit TMixoraChannel(int handle) : handle(handle) {}
    void Stop() override;
    void SetPaused(bool paused) override;
    void SetVolume(float volume) override;
    void SetPan(float pan) override;
    void SetDepth(float depth) override;
    void SetRate(float rate) override;
    bool Playing() override;

    int handle;
};

struct TMixoraAudioDriver : TAudioDriver {
    TSoundPtr CreateSound(const TAudioSamplePtr& sample, int flags) override;
    TChannelPtr AllocChannel() override;
};

// The installed driver, or none while the audio services are stopped.
TAudioDriver* AudioDriver();
