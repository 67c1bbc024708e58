// The WAV reader: RIFF WAVE, PCM, 8 or 16 bits, one or two channels, "fmt " as the first chunk.
// It is safe on any bytes: sizes are unsigned, checked against what the stream holds before
// anything is allocated, and a chunk can only move the reader forward.
#include <cstdint>

#include "audio/sample.h"

namespace {

// Reads a four-character chunk tag.
std::string readtag(TStream& stream) {
    char tag[4];
    stream.ReadBytes(tag, 4);
    return std::string(tag, 4);
}

uint32_t readsize(TStream& stream) {
    return static_cast<uint32_t>(stream.ReadInt());
}

// Bytes left between the position and the end of the stream.
int64_t remaining(TStream& stream) {
    return int64_t(stream.Size()) - stream.Pos();
}

// Skips count bytes; false (the search ends) when that would pass the end of the stream.
bool skip(TStream& stream, uint32_t count) {
    if (count > remaining(stream)) return false;
    stream.Seek(static_cast<int>(stream.Pos() + int64_t(count)));
    return true;
}

// The sample format for a bit depth and channel count, or 0.
int formatfor(int bits, int channels) {
    if (bits == 8 && channels == 1) return SF_MONO8;
    if (bits == 8 && channels == 2) return SF_STEREO8;
    if (bits == 16 && channels == 1) return SF_MONO16LE;
    if (bits == 16 && channels == 2) return SF_STEREO16LE;
    return 0;
}

}  // namespace

TAudioSamplePtr TAudioSampleLoaderWAV::LoadAudioSample(TStream& stream) {
    if (readtag(stream) != "RIFF") return nullptr;
    readsize(stream);
    if (readtag(stream) != "WAVE") return nullptr;
    if (readtag(stream) != "fmt ") return nullptr;
    uint32_t fmtsize = readsize(stream);
    if (fmtsize < 16) return nullptr;
    if (stream.ReadShort() != 1) return nullptr;    // PCM only
    int channels = stream.ReadShort();
    int hertz = stream.ReadInt();
    stream.ReadInt();                                 // byte rate
    stream.ReadShort();                               // block align
    int bits = stream.ReadShort();
    int format = formatfor(bits, channels);
    if (!format) return nullptr;
    if (!skip(stream, fmtsize - 16)) return nullptr;

    while (!stream.Eof()) {
        std::string tag = readtag(stream);
        uint32_t size = readsize(stream);
        if (tag != "data") {
            if (!skip(stream, size)) return nullptr;
            continue;
        }
        // Refuse a size the stream cannot hold before allocating anything for it.
        if (size > remaining(stream)) return nullptr;
        int frames = static_cast<int>(size / uint32_t(BytesPerSample[format]));
        TAudioSamplePtr sample = TAudioSample::Create(frames, hertz, format);
        if (!sample) return nullptr;
        // Whole frames only: a trailing part frame is left unread.
        if (frames > 0) stream.ReadBytes(sample->samples, frames * BytesPerSample[format]);
        return sample;
    }
    return nullptr;
}
