// Audio samples in memory, their formats, and the chain of loaders that read them from streams.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/stream.h"

enum : int {
    SF_MONO8 = 1,
    SF_MONO16LE = 2,
    SF_MONO16BE = 3,
    SF_STEREO8 = 4,
    SF_STEREO16LE = 5,
    SF_STEREO16BE = 6,
};

// Indexed by format; entry 0 is no format.
extern const int BytesPerSample[7];
extern const int ChannelsPerSample[7];

// The number of a valid format, or 0.
inline int SampleFormat(int format) { return format >= 1 && format <= 6 ? format : 0; }

struct TAudioSample;
using TAudioSamplePtr = std::shared_ptr<TAudioSample>;

struct TAudioSample {
    uint8_t* samples = nullptr;     // length * bytes per frame
    int length = 0;
    int hertz = 0;
    int format = 0;
    std::vector<uint8_t> owned;     // empty when created over existing memory

    TAudioSample() = default;
    TAudioSample(const TAudioSample&) = delete;
    TAudioSample& operator=(const TAudioSample&) = delete;

    // A zeroed sample owning its data; none for a bad format or size.
    static TAudioSamplePtr Create(int length, int hertz, int format);
    // A sample over memory it does not own.
    static TAudioSamplePtr CreateStatic(void* data, int length, int hertz, int format);
    // A new sample in another format; only byte-order changes (or none) are supported.
    TAudioSamplePtr Convert(int format) const;
    TAudioSamplePtr Copy() const;
};

// A loader adds itself to the front of the loader list when created, so the newest is asked first.
struct TAudioSampleLoader {
    TAudioSampleLoader();
    virtual ~TAudioSampleLoader();
    // The sample in stream, or none if this loader does not accept it.
    virtual TAudioSamplePtr LoadAudioSample(TStream& stream) = 0;

    TAudioSampleLoader* next = nullptr;
};

// Reads RIFF WAVE files of 8- or 16-bit PCM, one or two channels.
struct TAudioSampleLoaderWAV : TAudioSampleLoader {
    TAudioSamplePtr LoadAudioSample(TStream& stream) override;
};

// Creates the built-in loaders (the WAV loader) once.
void StartAudioLoaders();

// Runs the loader chain on the file at url or on stream; none if no loader accepts it.
// Raises TRuntimeError("Stream is not seekable") for a stream without a position.
TAudioSamplePtr LoadAudioSample(const std::string& url);
TAudioSamplePtr LoadAudioSample(TStream& stream);
