// Audio samples and the loader chain.
#include "audio/sample.h"

#include <climits>
#include <cstring>

#include "platform/error.h"

const int BytesPerSample[7] = {0, 1, 2, 2, 2, 4, 4};
const int ChannelsPerSample[7] = {0, 1, 1, 1, 2, 2, 2};

namespace {

TAudioSampleLoader* g_loaders = nullptr;   // newest first

// The format with the same channels and the other 16-bit byte order, or 0.
int otherbyteorder(int format) {
    switch (format) {
        case SF_MONO16LE: return SF_MONO16BE;
        case SF_MONO16BE: return SF_MONO16LE;
        case SF_STEREO16LE: return SF_STEREO16BE;
        case SF_STEREO16BE: return SF_STEREO16LE;
        default: return 0;
    }
}

}  // namespace

TAudioSamplePtr TAudioSample::Create(int length, int hertz, int format) {
    if (!SampleFormat(format) || length < 0) return nullptr;
    int64_t bytes = int64_t(length) * BytesPerSample[format];
    if (bytes > INT_MAX) return nullptr;
    auto sample = std::make_shared<TAudioSample>();
    sample->owned.assign(static_cast<size_t>(bytes), 0);
    sample->samples = sample->owned.data();
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    return sample;
}

TAudioSamplePtr TAudioSample::CreateStatic(void* data, int length, int hertz, int format) {
    if (!SampleFormat(format) || length < 0) return nullptr;
    auto sample = std::make_shared<TAudioSample>();
    sample->samples = static_cast<uint8_t*>(data);
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    return sample;
}

TAudioSamplePtr TAudioSample::Copy() const {
    TAudioSamplePtr copy = Create(length, hertz, format);
    if (copy && length) std::memcpy(copy->samples, samples, copy->owned.size());
    return copy;
}

TAudioSamplePtr TAudioSample::Convert(int to) const {
    if (to == format) return Copy();
    if (!SampleFormat(to) || otherbyteorder(format) != to) return nullptr;
    TAudioSamplePtr converted = Create(length, hertz, to);
    if (!converted) return nullptr;
    size_t bytes = converted->owned.size();
    for (size_t i = 0; i + 1 < bytes; i += 2) {
        converted->samples[i] = samples[i + 1];
        converted->samples[i + 1] = samples[i];
    }
    return converted;
}

TAudioSampleLoader::TAudioSampleLoader() {
    next = g_loaders;
    g_loaders = this;
}

TAudioSampleLoader::~TAudioSampleLoader() {
    for (TAudioSampleLoader** link = &g_loaders; *link; link = &(*link)->next) {
        if (*link == this) {
            *link = next;
            break;
        }
    }
}

void StartAudioLoaders() {
    static TAudioSampleLoaderWAV wav;
}

TAudioSamplePtr LoadAudioSample(const std::string& url) {
    TStreamPtr stream = ReadStream(url);
    if (!stream) return nullptr;
    TAudioSamplePtr sample = LoadAudioSample(*stream);
    stream->Close();
    return sample;
}

TAudioSamplePtr LoadAudioSample(TStream& stream) {
    StartAudioLoaders();
    int start = stream.Pos();
    if (start == -1) throw TRuntimeError("Stream is not seekable");
    for (TAudioSampleLoader* loader = g_loaders; loader; loader = loader->next) {
        stream.Seek(start);
        try {
            if (TAudioSamplePtr sample = loader->LoadAudioSample(stream)) return sample;
        } catch (const TStreamReadError&) {
            // A short read: this loader does not accept the file.
        }
    }
    return nullptr;
}
