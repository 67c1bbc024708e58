// Audio samples, the loader chain and the WAV reader.
#include "audio/sample.h"

#include <climits>
#include <cstring>

#include "platform/error.h"

namespace {

const int kBytesPerSample[7] = {0, 1, 2, 2, 2, 4, 4};
const int kChannelsPerSample[7] = {0, 1, 1, 1, 2, 2, 2};

TAudioSampleLoader* loaders = nullptr;              // newest first
thread_local TStream* embeddedStream = nullptr;     // the embedded file the chain is reading

// The number of a valid format, or 0.
int ValidFormat(int format) { return format >= 1 && format <= 6 ? format : 0; }

// The format with the same channels and the other 16-bit byte order, or 0.
int OtherByteOrder(int format) {
    switch (format) {
        case SF_MONO16LE: return SF_MONO16BE;
        case SF_MONO16BE: return SF_MONO16LE;
        case SF_STEREO16LE: return SF_STEREO16BE;
        case SF_STEREO16BE: return SF_STEREO16LE;
        default: return 0;
    }
}

// Whether stream, opened for url, serves a registered embedded file in place.
bool ServesEmbeddedFile(TStream& stream, const std::string& url) {
    auto* ram = dynamic_cast<TRamStream*>(&stream);
    size_t split = url.find("::");
    return ram && ram->buf && split != std::string::npos && ram->buf == IncbinPtr(url.substr(split + 2));
}

// Notes the embedded file the chain reads while the chain runs.
struct TEmbeddedScope {
    explicit TEmbeddedScope(TStream* stream) { embeddedStream = stream; }
    ~TEmbeddedScope() { embeddedStream = nullptr; }
};

}  // namespace

int BytesPerSample(int format) { return kBytesPerSample[ValidFormat(format)]; }
int ChannelsPerSample(int format) { return kChannelsPerSample[ValidFormat(format)]; }

TAudioSamplePtr TAudioSample::Create(int length, int hertz, int format) {
    if (!ValidFormat(format) || length < 0) return nullptr;
    int64_t bytes = int64_t(length) * BytesPerSample(format);
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
    if (!ValidFormat(format) || length < 0) return nullptr;
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
    if (!ValidFormat(to) || OtherByteOrder(format) != to) return nullptr;
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
    next = loaders;
    loaders = this;
}

TAudioSampleLoader::~TAudioSampleLoader() {
    for (TAudioSampleLoader** link = &loaders; *link; link = &(*link)->next) {
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
    TAudioSamplePtr sample;
    {
        TEmbeddedScope scope(ServesEmbeddedFile(*stream, url) ? stream.get() : nullptr);
        sample = LoadAudioSample(*stream);
    }
    stream->Close();
    return sample;
}

TAudioSamplePtr LoadAudioSample(TStream& stream) {
    StartAudioLoaders();
    int start = stream.Pos();
    if (start == -1) throw TRuntimeError("Stream is not seekable");
    for (TAudioSampleLoader* loader = loaders; loader; loader = loader->next) {
        stream.Seek(start);
        try {
            if (TAudioSamplePtr sample = loader->LoadAudioSample(stream)) return sample;
        } catch (const TStreamReadError&) {
            // A short read: this loader does not accept the file.
        }
    }
    return nullptr;
}

const uint8_t* EmbeddedBytes(TStream& stream, int64_t count) {
    if (&stream != embeddedStream || count < 0) return nullptr;
    auto& ram = static_cast<TRamStream&>(stream);
    if (count > int64_t(ram.size) - ram.pos) return nullptr;
    return ram.buf + ram.pos;
}

// ---- The WAV reader. It is safe on any bytes: sizes are unsigned, checked against what the
// stream holds before anything is allocated, and a chunk can only move the reader forward.

namespace {

// Reads a four-character chunk tag.
std::string ReadTag(TStream& stream) {
    char tag[4];
    stream.ReadBytes(tag, 4);
    return std::string(tag, 4);
}

// Reads a 32-bit chunk size.
uint32_t ReadSize(TStream& stream) {
    return static_cast<uint32_t>(stream.ReadInt());
}

// Bytes left between the position and the end of the stream.
int64_t Remaining(TStream& stream) {
    return int64_t(stream.Size()) - stream.Pos();
}

// Skips count bytes; false (the search ends) when that would pass the end of the stream.
bool Skip(TStream& stream, uint32_t count) {
    if (count > Remaining(stream)) return false;
    stream.Seek(static_cast<int>(stream.Pos() + int64_t(count)));
    return true;
}

// The highest sample rate a WAV file may declare. No recording format in use goes beyond 384000 Hz;
// a rate of 0 or below would hold a one-shot voice still forever (it never reaches its end), and
// a far larger one is a damaged header rather than a sound.
constexpr int kMaxHertz = 384000;

// The sample format for a bit depth and channel count, or 0.
int FormatFor(int bits, int channels) {
    if (bits == 8 && channels == 1) return SF_MONO8;
    if (bits == 8 && channels == 2) return SF_STEREO8;
    if (bits == 16 && channels == 1) return SF_MONO16LE;
    if (bits == 16 && channels == 2) return SF_STEREO16LE;
    return 0;
}

}  // namespace

TAudioSamplePtr TAudioSampleLoaderWAV::LoadAudioSample(TStream& stream) {
    if (ReadTag(stream) != "RIFF") return nullptr;
    ReadSize(stream);
    if (ReadTag(stream) != "WAVE") return nullptr;
    if (ReadTag(stream) != "fmt ") return nullptr;
    uint32_t fmtSize = ReadSize(stream);
    if (fmtSize < 16) return nullptr;
    if (stream.ReadShort() != 1) return nullptr;    // PCM only
    int channels = stream.ReadShort();
    int hertz = stream.ReadInt();
    stream.ReadInt();                                 // byte rate
    stream.ReadShort();                               // block align
    int bits = stream.ReadShort();
    int format = FormatFor(bits, channels);
    if (!format) return nullptr;
    if (hertz <= 0 || hertz > kMaxHertz) return nullptr;
    if (!Skip(stream, fmtSize - 16)) return nullptr;

    while (!stream.Eof()) {
        std::string tag = ReadTag(stream);
        uint32_t size = ReadSize(stream);
        if (tag != "data") {
            if (!Skip(stream, size)) return nullptr;
            continue;
        }
        // Refuse a size the stream cannot hold before allocating anything for it.
        if (size > Remaining(stream)) return nullptr;
        // Whole frames only: a trailing part frame is left unread.
        int frames = static_cast<int>(size / uint32_t(BytesPerSample(format)));
        int bytes = frames * BytesPerSample(format);
        // An embedded file's bytes are played where they lie (the sample only reads them).
        if (const uint8_t* embedded = EmbeddedBytes(stream, bytes)) {
            stream.Seek(stream.Pos() + bytes);
            return TAudioSample::CreateStatic(const_cast<uint8_t*>(embedded), frames, hertz, format);
        }
        TAudioSamplePtr sample = TAudioSample::Create(frames, hertz, format);
        if (!sample) return nullptr;
        if (frames > 0) stream.ReadBytes(sample->samples, bytes);
        return sample;
    }
    return nullptr;
}
