#include "audio/wav_inputs.h"

#include "audio/sample.h"

namespace {

// The header fields of a made file; the defaults make a file that loads.
struct TWavShape {
    int formatTag = 1;
    int channels = 1;
    uint32_t hertz = 22050;
    int bits = 16;
    uint32_t fmtSize = 16;       // as declared; the chunk holds 16 bytes
    uint32_t dataSize = 64;      // as declared; the chunk holds 64 bytes
    const char* kind = "WAVE";
};

void Put(TBytes& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

void PutTag(TBytes& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

// "RIFF", the kind, a "fmt " chunk and a "data" chunk of 64 bytes that differ from each other.
TBytes Wav(const TWavShape& shape) {
    TBytes out;
    uint32_t align = uint32_t(shape.channels * ((shape.bits + 7) / 8));
    PutTag(out, "RIFF");
    Put(out, 4 + 24 + 8 + 64, 4);
    PutTag(out, shape.kind);
    PutTag(out, "fmt ");
    Put(out, shape.fmtSize, 4);
    Put(out, uint32_t(shape.formatTag), 2);
    Put(out, uint32_t(shape.channels), 2);
    Put(out, shape.hertz, 4);
    Put(out, shape.hertz * align, 4);
    Put(out, align, 2);
    Put(out, uint32_t(shape.bits), 2);
    PutTag(out, "data");
    Put(out, shape.dataSize, 4);
    for (int i = 0; i < 64; ++i) out.push_back(uint8_t(i * 37 + 11));
    return out;
}

TWavFile Refused(const char* name, const TWavShape& shape, const char* why) {
    return TWavFile{name, Wav(shape), 0, 0, 0, why};
}

}  // namespace

std::vector<TWavFile> WavFiles() {
    return {
        {"rate-384000", Wav({.hertz = 384000}), SF_MONO16LE, 384000, 32, "the highest sample rate that loads"},
        Refused("rate-over-384000", {.hertz = 384001}, "a sample rate above 384000 Hz"),
        Refused("rate-zero", {.hertz = 0}, "a sample rate of 0: a one-shot of it would never end"),
        Refused("rate-negative", {.hertz = 0x80000000u}, "a sample rate negative as a signed 32-bit number"),
        Refused("pcm16-three-channels", {.channels = 3}, "three channels"),
        Refused("pcm12-mono", {.bits = 12}, "12 bits"),
        Refused("not-wave", {.kind = "AVI "}, "a RIFF file of another kind"),
        Refused("data-size-over-2-gib", {.dataSize = 0xFFFFFFF0u},
                "a data size that does not fit in a signed 32-bit number"),
        Refused("fmt-size-huge", {.fmtSize = 0xFFFFFFF0u}, "the \"fmt \" chunk declares more bytes than the file holds"),
    };
}
