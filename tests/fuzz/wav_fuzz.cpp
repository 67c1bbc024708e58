// Fuzz target: the sample loader chain (the WAV reader) on any bytes, read from a memory stream.
#include <cstddef>
#include <cstdint>

#include "audio/sample.h"
#include "platform/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 24) return 0;
    TStreamPtr stream = CreateRamStream(data, static_cast<int>(size), 1, 0);
    TAudioSamplePtr sample = LoadAudioSample(*stream);
    if (sample) {
        // Touch every byte the sample claims to hold.
        volatile uint8_t sum = 0;
        size_t bytes = size_t(sample->length) * BytesPerSample(sample->format);
        for (size_t i = 0; i < bytes; ++i) sum = sum + sample->samples[i];
    }
    return 0;
}
