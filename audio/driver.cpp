// The mixer-backed sounds, channels and driver.
#include "audio/driver.h"

#include <bit>

#include "audio/mixora.h"
#include "platform/numeric.h"

namespace {

// The format of the same channel count in the byte order the mixer reads.
int nativeorder(int format) {
    bool little = std::endian::native == std::endian::little;
    if (format == SF_MONO16LE || format == SF_MONO16BE) return little ? SF_MONO16LE : SF_MONO16BE;
    if (format == SF_STEREO16LE || format == SF_STEREO16BE) return little ? SF_STEREO16LE : SF_STEREO16BE;
    return format;
}

// A setting of 1.0 = 4096 as the 16-bit value the mixer keeps.
int fixed12(float value) {
    return static_cast<int16_t>(TruncInt(double(value) * 4096.0));
}

}  // namespace

TSoundPtr TSound::Load(const std::string& url, int flags) {
    return Load(LoadAudioSample(url), flags);
}

TSoundPtr TSound::Load(const TAudioSamplePtr& sample, int flags) {
    TAudioDriver* driver = AudioDriver();
    if (!sample || !driver) return nullptr;
    return driver->CreateSound(sample, flags);
}

TMixoraSound::~TMixoraSound() {
    mxo_FreeSound(sample);
}

TChannelPtr TMixoraSound::Play(const TChannelPtr& channel) { return start(channel, 0); }
TChannelPtr TMixoraSound::Cue(const TChannelPtr& channel) { return start(channel, 1); }

TChannelPtr TMixoraSound::start(const TChannelPtr& channel, int paused) {
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
void TMixoraChannel::SetVolume(float volume) { mxo_SetChannelVolume(handle, fixed12(volume)); }
void TMixoraChannel::SetPan(float pan) { mxo_SetChannelPan(handle, fixed12(pan)); }
void TMixoraChannel::SetDepth(float depth) { mxo_SetChannelDepth(handle, fixed12(depth)); }
void TMixoraChannel::SetRate(float rate) { mxo_SetChannelRate(handle, TruncInt(double(rate) * 65536.0)); }

// Playing once, looping or paused; not idle or stopped.
bool TMixoraChannel::Playing() {
    return (mxo_ChannelStatus(handle) & ~mixora::StatusStopped) != 0;
}

TSoundPtr TMixoraAudioDriver::CreateSound(const TAudioSamplePtr& loaded, int flags) {
    TAudioSamplePtr sample = loaded;
    if (nativeorder(sample->format) != sample->format) sample = sample->Convert(nativeorder(sample->format));
    if (!sample) return nullptr;
    int loop = flags ? -1 : 0;
    int channels = ChannelsPerSample[SampleFormat(sample->format)];
    if (channels == 0) return nullptr;
    int bits = BytesPerSample[sample->format] * 8 / channels;
    mixora::sample* mixed = mxo_CreateSound(sample->length, bits, channels, sample->hertz, sample->samples, loop);
    if (!mixed) return nullptr;
    return std::make_shared<TMixoraSound>(mixed);
}

TChannelPtr TMixoraAudioDriver::AllocChannel() {
    int handle = mxo_AllocChannel();
    if (handle == 0) return nullptr;
    return std::make_shared<TMixoraChannel>(handle);
}
