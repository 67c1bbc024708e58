// Audio samples in memory, their formats, and the chain of loaders that read them from streams.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/stream.h"

// Sample formats.
enum : int {
    SF_MONO8 = 1,
    SF_MONO16LE = 2,
    SF_MONO16BE = 3,
    SF_STEREO8 = 4,
    SF_STEREO16LE = 5,
    SF_STEREO16BE = 6,
};

// Bytes in one frame of format; 0 for no format.
int BytesPerSample(int format);
// Channels of format; 0 for no format.
int ChannelsPerSample(int format);

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
    // A sample over memory it does not own, which must outlive it.
    static TAudioSamplePtr CreateStatic(void* data, int length, int hertz, int format);
    // A new sample in another format; only byte-order changes (or none) are supported.
    TAudioSamplePtr Convert(int format) const;
    // A new sample owning a copy of this one's data.
    TAudioSamplePtr Copy() const;
};

// A loader adds itself to the front of the loader list when created, so the newest is asked first.
struct TAudioSampleLoader {
    TAudioSampleLoader();            // adds the loader to the front of the list
    virtual ~TAudioSampleLoader();   // takes it out again
    // The sample in stream, or none if this loader does not accept it.
    virtual TAudioSamplePtr LoadAudioSample(TStream& stream) = 0;

    TAudioSampleLoader* next = nullptr;
};

// Reads RIFF WAVE files of 8- or 16-bit PCM, one or two channels, whose first chunk is "fmt ".
struct TAudioSampleLoaderWAV : TAudioSampleLoader {
    TAudioSamplePtr LoadAudioSample(TStream& stream) override;
};

// Creates the built-in loaders (the WAV loader) once.
void StartAudioLoaders();

// Run the loader chain; none if no loader accepts the file. Raise TRuntimeError("Stream is
// not seekable") for a stream without a position.
TAudioSamplePtr LoadAudioSample(const std::string& url);   // an embedded file's bytes are not copied
TAudioSamplePtr LoadAudioSample(TStream& stream);          // from the stream's position

// For loaders: the count bytes at the stream's position when the chain reads an embedded file,
// whose bytes live for the whole run so a sample may refer to them; none for any other stream.
const uint8_t* EmbeddedBytes(TStream& stream, int64_t count);
