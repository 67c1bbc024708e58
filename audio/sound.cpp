// Starting and stopping the audio services, and the functions the game calls.
#include "audio/sound.h"

#include <cstdlib>
#include <cstring>

#include "audio/driver.h"
#include "audio/mixora.h"

namespace {

TMixoraAudioDriver g_mixoradriver;
TAudioDriver* g_driver = nullptr;

}  // namespace

TAudioDriver* AudioDriver() {
    return g_driver;
}

bool StartAudio(TAudioOutputMode mode) {
    StartAudioLoaders();
    if (g_driver) return true;
    if (mxo_Init(mode) != 0) return false;
    g_driver = &g_mixoradriver;
    static bool registered = false;
    if (mode == TAudioOutputMode::System && !registered) {
        registered = true;
        std::atexit(StopAudio);
    }
    return true;
}

void StopAudio() {
    g_driver = nullptr;
    mxo_Close();
}

void MixAudioFrames(int16_t* out, int frames) {
    if (frames <= 0) return;
    if (!mxo_Mix16(out, frames)) std::memset(out, 0, size_t(frames) * 2 * sizeof(int16_t));
}

TSoundPtr LoadSound(const std::string& url, int flags) {
    return TSound::Load(url, flags);
}

TSoundPtr LoadSound(const TAudioSamplePtr& sample, int flags) {
    return TSound::Load(sample, flags);
}

TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel) {
    return sound ? sound->Play(channel) : nullptr;
}

TChannelPtr CueSound(const TSoundPtr& sound, const TChannelPtr& channel) {
    return sound ? sound->Cue(channel) : nullptr;
}

TChannelPtr AllocChannel() {
    return g_driver ? g_driver->AllocChannel() : nullptr;
}

void StopChannel(const TChannelPtr& channel) {
    if (channel) channel->Stop();
}

int ChannelPlaying(const TChannelPtr& channel) {
    return channel && channel->Playing() ? 1 : 0;
}

void SetChannelVolume(const TChannelPtr& channel, float volume) {
    if (channel) channel->SetVolume(volume);
}

void SetChannelPan(const TChannelPtr& channel, float pan) {
    if (channel) channel->SetPan(pan);
}

void SetChannelDepth(const TChannelPtr& channel, float depth) {
    if (channel) channel->SetDepth(depth);
}

void SetChannelRate(const TChannelPtr& channel, float rate) {
    if (channel) channel->SetRate(rate);
}

void PauseChannel(const TChannelPtr& channel) {
    if (channel) channel->SetPaused(true);
}

void ResumeChannel(const TChannelPtr& channel) {
    if (channel) channel->SetPaused(false);
}
