// Sounds, channels and the driver over the mixer; starting and stopping the audio services.
#include "audio/sound.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "audio/sample.h"
#include "platform/numeric.h"
#include "platform/system.h"

namespace {

TMixoraAudioDriver mixoraDriver;
TAudioDriver* installedDriver = nullptr;

// The format of the same channel count in the byte order the mixer reads.
int NativeOrder(int format) {
    bool little = std::endian::native == std::endian::little;
    if (format == SF_MONO16LE || format == SF_MONO16BE) return little ? SF_MONO16LE : SF_MONO16BE;
    if (format == SF_STEREO16LE || format == SF_STEREO16BE) return little ? SF_STEREO16LE : SF_STEREO16BE;
    return format;
}

// A setting of 1.0 = 4096 as the 16-bit value the mixer keeps.
int Fixed12(float value) {
    return static_cast<int16_t>(TruncInt(double(value) * 4096.0));
}

// The installed driver. A system output that turned out to have no device stops the audio
// services here, on the game thread: from then on the game runs silent, just as when no output
// opens at all.
TAudioDriver* Running() {
    if (installedDriver && mxo_OutputState() == TAudioOutputState::Failed) StopAudio();
    return installedDriver;
}

}  // namespace

TAudioDriver* AudioDriver() {
    return Running();
}

bool StartAudio(TAudioOutputMode mode, TMilliSecsClock clock) {
    StartAudioLoaders();
    if (Running()) return true;
    // The mixer keeps the driver installed now, so the audio thread never reads the
    // swappable driver pointer.
    if (!clock) clock = [system = GetSystemDriver()] { return system->MilliSecs(); };
    if (mxo_Init(std::move(clock), mode) != 0) return false;
    installedDriver = &mixoraDriver;
    static bool registered = false;
    if (mode == TAudioOutputMode::System && !registered) {
        registered = true;
        std::atexit(StopAudio);
    }
    return true;
}

void StopAudio() {
    installedDriver = nullptr;
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
    TAudioDriver* driver = Running();
    return driver ? driver->AllocChannel() : nullptr;
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

TSoundPtr TSound::Load(const std::string& url, int flags) {
    return Load(LoadAudioSample(url), flags);
}

TSoundPtr TSound::Load(const TAudioSamplePtr& sample, int flags) {
    TAudioDriver* driver = Running();
    if (!sample || !driver) return nullptr;
    return driver->CreateSound(sample, flags);
}

TMixoraSound::~TMixoraSound() {
    mxo_FreeSound(sample);
}

TChannelPtr TMixoraSound::Play(const TChannelPtr& channel) { return Start(channel, 0); }
TChannelPtr TMixoraSound::Cue(const TChannelPtr& channel) { return Start(channel, 1); }

TChannelPtr TMixoraSound::Start(const TChannelPtr& channel, int paused) {
    Running();   // a sound loaded while the output was opening plays nothing if it failed
    int handle = 0;
    auto* given = dynamic_cast<TMixoraChannel*>(channel.get());
    if (channel && !given) return nullptr;
    if (given) handle = given->handle;
    int result = mxo_PlaySound(sample, paused, handle);
    if (result == 0) return nullptr;
    if (given && given->handle == result) return channel;
    return std::make_shared<TMixoraChannel>(result);
}

void TMixoraChannel::Stop() { mxo_StopChannel(handle); }
void TMixoraChannel::SetPaused(bool paused) { mxo_SetChannelPaused(handle, paused ? 1 : 0); }
void TMixoraChannel::SetVolume(float volume) { mxo_SetChannelVolume(handle, Fixed12(volume)); }
void TMixoraChannel::SetPan(float pan) { mxo_SetChannelPan(handle, Fixed12(pan)); }
void TMixoraChannel::SetDepth(float depth) { mxo_SetChannelDepth(handle, Fixed12(depth)); }
void TMixoraChannel::SetRate(float rate) { mxo_SetChannelRate(handle, TruncInt(double(rate) * 65536.0)); }

// VOICE_STOPPED is the one status bit that does not count as playing.
bool TMixoraChannel::Playing() {
    return (mxo_ChannelStatus(handle) & ~mixora::VOICE_STOPPED) != 0;
}

TSoundPtr TMixoraAudioDriver::CreateSound(const TAudioSamplePtr& loaded, int flags) {
    TAudioSamplePtr sample = loaded;
    if (NativeOrder(sample->format) != sample->format) sample = sample->Convert(NativeOrder(sample->format));
    if (!sample) return nullptr;
    int loop = flags ? -1 : 0;
    int channels = ChannelsPerSample(sample->format);
    if (channels == 0) return nullptr;
    int bits = BytesPerSample(sample->format) * 8 / channels;
    // The mixer plays the sample's bytes in place and keeps the sample alive: the data is held
    // once, as loaded (or as converted to the mixer's byte order).
    mixora::sample* mixed =
        mxo_CreateSoundOver(sample->length, bits, channels, sample->hertz, sample->samples, sample, loop);
    if (!mixed) return nullptr;
    return std::make_shared<TMixoraSound>(mixed);
}

TChannelPtr TMixoraAudioDriver::AllocChannel() {
    int handle = mxo_AllocChannel();
    if (handle == 0) return nullptr;
    return std::make_shared<TMixoraChannel>(handle);
}
